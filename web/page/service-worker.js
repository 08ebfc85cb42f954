// Keeps one build of the page's folder in the browser, so that the game
// installs and plays without a network. The build writes the folder's list
// into this file (precache.py), each file with its hash, so a new build is a
// new worker: it fetches the new files beside the old ones and takes over
// only once no page of the old build is open, then drops the old files. A
// page is therefore served by one build from its first file to its last.
// (The build leaves these comments out of the folder.)
"use strict";

const PRECACHE = "@PRECACHE@";
// Named by the worker's scope: each copy of the page on one origin (another
// folder, another build) keeps its own build and drops only its own old ones.
const CACHE_PREFIX = `bul-pgia ${self.registration.scope} `;
const CACHE = CACHE_PREFIX + PRECACHE.version;

// Every file or none: a file that does not match its hash (a server already
// holding another build) or that comes with an error status fails the
// install, and the old build stays. A file that a host redirects (index.html
// to its folder's address) is kept unmarked, since a page's load refuses a
// response marked as redirected; its hash was checked on the target. A
// failed install leaves no cache behind.
self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(CACHE).then(async (cache) => {
        await cache.addAll(PRECACHE.files.map(([name, integrity]) =>
            new Request(name, { cache: "no-cache", integrity })));
        for (const request of await cache.keys()) {
            const response = await cache.match(request);
            if (response.redirected) {
                await cache.put(request, new Response(await response.blob(), response));
            }
        }
    }).catch(async (error) => {
        await caches.delete(CACHE);
        throw error;
    }));
});

// No page is claimed: one that is open was loaded by the old build (or from
// the network) and keeps going as it started; the next load is this build's.
self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys().then((names) => Promise.all(names
        .filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
        .map((name) => caches.delete(name)))));
});

// The page keeps no state in its address: the folder's start page, with any
// query or fragment, is index.html.
function cacheKey(request) {
    const url = new URL(request.url);
    const start = new URL(self.registration.scope);
    if (request.mode === "navigate" && url.pathname === start.pathname) {
        return new URL("index.html", start).href;
    }
    return request;
}

async function cacheFirst(request) {
    const cache = await caches.open(CACHE);
    const cached = await cache.match(cacheKey(request),
                                     { ignoreSearch: request.mode === "navigate" });
    return cached || fetch(request);
}

self.addEventListener("fetch", (event) => {
    const request = event.request;
    if (request.method === "GET" && new URL(request.url).origin === self.location.origin) {
        event.respondWith(cacheFirst(request));
    }
});
