#!/usr/bin/python3
"""Writes the nginx file that serves the built folder: the template
(web/serve/nginx.conf.in) with, at each "@HEADERS part@" (or "@HEADERS part
always@", for error answers too), the headers of that part of
web/serve/headers.txt under its comment, the Content-Security-Policy of the built index.html's
<meta> among them, so that every header and the policy have one source each.

Usage: nginx_conf.py FOLDER TEMPLATE OUTPUT
"""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "serve"))
import serve  # noqa: E402  (web/serve/: reads the page's policy and headers as the server does)

PLACEHOLDER = re.compile(r"^(\s*)@HEADERS ([\w-]+)( always)?@$")


def add_headers(indent, part, always, policy):
    """The part's add_header lines, under the comment that gives its reasons."""
    sent = serve.headers(part, policy)  # a KeyError for a part it lacks
    comments = serve.header_parts()[part][0]
    return "".join([f"{indent}{comment}\n" for comment in comments] +
                   [f'{indent}add_header {name} "{value}"{always};\n'
                    for name, value in sent])


def main(folder, template, output):
    policy = serve.page_policy(folder)
    if not policy:
        sys.exit(f"nginx_conf.py: {folder}/index.html declares no Content-Security-Policy")
    if any(c in policy for c in '"$\\{}'):
        sys.exit(f"nginx_conf.py: the policy holds what an nginx string cannot: {policy}")
    with open(template, encoding="utf-8") as file:
        text = file.read()
    lines, found = [], False
    for line in text.splitlines(keepends=True):
        placeholder = PLACEHOLDER.match(line.rstrip("\n"))
        if placeholder:
            indent, part, always = placeholder.groups()
            try:
                line = add_headers(indent, part, always or "", policy)
            except KeyError as error:
                sys.exit(f"nginx_conf.py: {error.args[0]}")
            found = True
        lines.append(line)
    if not found:
        sys.exit(f"nginx_conf.py: {template} has no @HEADERS part@")
    with open(output, "w", encoding="utf-8") as file:
        file.write("".join(lines))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
