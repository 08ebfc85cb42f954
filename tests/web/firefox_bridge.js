// Firefox for the browser tests: Debian has no geckodriver, so puppeteer-core
// (pinned by package-lock.json) drives Debian's Firefox over the browser's
// own WebDriver BiDi. engines.py's FirefoxDriver (firefox_driver.py) is the other end:
// one JSON request a line on stdin, [error, value] a line on stdout. Firefox
// has a window, on the display of $DISPLAY: see FirefoxDriver.
//
//   node firefox_bridge.js FIREFOX PROFILE WIDTH HEIGHT [DENSITY]
"use strict";
const readline = require("node:readline");
const puppeteer = require("puppeteer-core");

const [executablePath, userDataDir, width, height, density = "1"] = process.argv.slice(2);

async function main() {
    const browser = await puppeteer.launch({
        browser: "firefox", executablePath, userDataDir, headless: false,
        // A page kept in the back-forward cache stays a client of its build's
        // worker, which then keeps the next build waiting until the tab
        // closes. The scenarios' Firefox keeps no such cache, so that a page
        // left is gone, as the scenarios that replace a build expect.
        // The density as a screen's own, for drawing as for layout (the one
        // WebDriver BiDi emulates leaves borders drawn at another).
        extraPrefsFirefox: { "browser.sessionhistory.max_total_viewers": 0,
                             "layout.css.devPixelsPerPx": density },
        defaultViewport: { width: Number(width), height: Number(height) },
    });
    const page = (await browser.pages())[0] ?? await browser.newPage();
    await page.bringToFront();
    // What the page logs and every request that fails, kept for console().
    const logged = [];
    // What the page logs as Firefox itself words it: puppeteer's text of a
    // logged Error is "JSHandle@error", without its message.
    page.mainFrame().browsingContext.on("log", ({ entry }) => {
        if (entry.type === "console") {
            logged.push([entry.method, entry.text]);
        }
    });
    page.on("pageerror", (error) => logged.push(["error", String(error)]));
    page.on("requestfailed", (request) => {
        // A request the browser dropped itself, as the page went, is no fault.
        const reason = request.failure()?.errorText;
        if (reason !== "NS_BINDING_ABORTED") {
            logged.push(["error", `${request.url()}: ${reason}`]);
        }
    });
    const requests = {
        get: (url) => page.goto(url, { waitUntil: "load" }).then(() => null),
        // The script runs as WebDriver's execute_script runs it: outside the
        // page's security policy, since no one can author it in the page.
        run: (expression) => page.evaluate(expression),
        onNewDocument: (source) => page.evaluateOnNewDocument(source).then(() => null),
        click: (x, y, count) => page.mouse.click(x, y, { count }),
        tap: (x, y) => page.touchscreen.tap(x, y),
        press: async (keys) => {
            for (const key of keys) {
                await page.keyboard.press(key);
            }
        },
        viewport: (width, height, touch) => page.setViewport(
            { width, height, hasTouch: touch, isMobile: touch }),
        screenshot: (clip) => page.screenshot({ clip, encoding: "base64" }),
        title: () => page.title(),
        url: () => page.url(),
        console: () => logged.splice(0),
        version: () => browser.version(),
    };
    for await (const line of readline.createInterface({ input: process.stdin })) {
        const { request, args } = JSON.parse(line);
        let answer;
        try {
            answer = [null, (await requests[request](...args)) ?? null];
        } catch (error) {
            answer = [String(error?.message ?? error), null];
        }
        process.stdout.write(JSON.stringify(answer) + "\n");
    }
    await browser.close();
}

main().catch((error) => {
    process.stderr.write(`firefox_bridge: ${error?.stack ?? error}\n`);
    process.exit(1);
});
