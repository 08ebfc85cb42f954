#!/usr/bin/python3
"""Writes the nginx file that serves the built folder: the template
(web/serve/nginx.conf.in) with its headers, the Content-Security-Policy of
the built index.html's <meta> among them, so that the policy has one source,
the page itself.

Usage: nginx_conf.py FOLDER TEMPLATE OUTPUT
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "serve"))
import serve  # noqa: E402  (web/serve/: reads the page's policy as the server does)

PLACEHOLDER = "@HEADERS@"
# Beside the page's own policy, what a <meta> cannot carry.
HEADER_ONLY_POLICY = "frame-ancestors 'none'"


def headers(policy):
    return [("Content-Security-Policy", f"{policy}; {HEADER_ONLY_POLICY}"),
            ("X-Content-Type-Options", "nosniff"),
            ("Referrer-Policy", "no-referrer")]


def main(folder, template, output):
    policy = serve.page_policy(folder)
    if not policy:
        sys.exit(f"nginx_conf.py: {folder}/index.html declares no Content-Security-Policy")
    if any(c in policy for c in '"$\\{}'):
        sys.exit(f"nginx_conf.py: the policy holds what an nginx string cannot: {policy}")
    with open(template, encoding="utf-8") as file:
        text = file.read()
    if PLACEHOLDER not in text:
        sys.exit(f"nginx_conf.py: {template} has no {PLACEHOLDER}")
    lines = []
    for line in text.splitlines(keepends=True):
        if PLACEHOLDER in line:
            indent = line[:line.index(PLACEHOLDER)]
            line = "".join(f'{indent}add_header {name} "{value}" always;\n'
                           for name, value in headers(policy))
        lines.append(line)
    with open(output, "w", encoding="utf-8") as file:
        file.write("".join(lines))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
