// Installs the service worker (service-worker.js) that keeps the game
// playable offline. After the page's load, so that its fetch of the whole
// folder does not compete with the first paint.
if ("serviceWorker" in navigator) {
    window.addEventListener("load", () => {
        navigator.serviceWorker.register("service-worker.js").catch((error) => {
            console.warn("The page will not work offline:", error);
        });
    }, { once: true });
}
