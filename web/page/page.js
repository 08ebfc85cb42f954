// The page's glue: builds Form1's controls from the game's own tables, hands
// the player's events to the game and shows what the game's board says. No
// rule of the game is here; the module (bul-pgia.js) holds all of them.
"use strict";

(() => {
    const place = document.getElementById("place");
    const elements = new Map();  // control name -> element
    let module = null;
    // One call into the game at a time: a handler suspended under a message
    // box must be resumed before anything else enters the module, as the
    // desktop's modal box holds every other event of the window.
    let running = false;

    function fail(reason) {
        place.replaceChildren();
        document.getElementById("failure").hidden = false;
        if (reason) {
            console.error(reason);
        }
    }

    function colour(rgb) {
        return "#" + rgb.toString(16).padStart(6, "0");
    }

    function familyList(form) {
        return `"${form.boardFamily}", "${form.boardFamilySubstitute}"`;
    }

    // The substitute family as web fonts from this folder: a board drawn in
    // whatever font the visitor's system has would not fit its cells. Without
    // the font's line gap a line is as tall as its ascent and descent, as the
    // desktop draws a label, so autosized labels get the same height and
    // every caption the same baseline.
    function loadBoardFonts(form) {
        const files = document.querySelectorAll("link[rel=preload][as=font]");
        const faces = [...files].map((link) => {
            const face = new FontFace(form.boardFamilySubstitute, `url(${link.href})`,
                                      { weight: link.dataset.weight, lineGapOverride: "0%" });
            document.fonts.add(face);
            return face.load();
        });
        // A font that cannot load leaves the board in the fallback font, not blank.
        return Promise.allSettled(faces);
    }

    function applyFont(element, control, form) {
        const stored = control.font === "A" ? form.fontA : control.font === "B" ? form.fontB : null;
        if (stored) {
            element.style.fontFamily = familyList(form);
            element.style.fontSize = `${stored.points}pt`;
            element.style.fontWeight = String(stored.weight);
        } else {
            element.style.fontFamily = "system-ui, sans-serif";
            element.style.fontSize = `${form.dialogPoints}pt`;
        }
    }

    // The panel is called by its title, which the screen reader then need not read twice.
    function showFrameTitle(frame, text) {
        frame.querySelector(".title").textContent = text;
        frame.setAttribute("aria-label", text);
    }

    function makeElement(control) {
        switch (control.kind) {
            case "button": {
                const button = document.createElement("button");
                button.type = "button";
                button.textContent = control.caption;
                return button;
            }
            case "textBox": {
                const input = document.createElement("input");
                input.type = "text";
                input.autocomplete = "off";
                input.spellcheck = false;
                input.dir = "auto";
                if (control.maxLength > 0) {
                    input.maxLength = control.maxLength;
                }
                input.value = control.caption;
                return input;
            }
            case "frame": {
                const frame = document.createElement("div");
                frame.className = "frame";
                frame.setAttribute("role", "group");
                const edge = document.createElement("div");
                edge.className = "edge";
                const title = document.createElement("span");
                title.className = "title";
                title.setAttribute("aria-hidden", "true");
                frame.append(edge, title);
                showFrameTitle(frame, control.caption);
                return frame;
            }
            case "label": {
                const label = document.createElement("div");
                label.className = "label";
                label.dir = "auto";
                label.textContent = control.caption;
                for (const flag of ["border", "transparent", "autoSize"]) {
                    label.classList.toggle(flag, control[flag]);
                }
                return label;
            }
            default: {
                const line = document.createElement("div");
                line.className = "line";
                line.setAttribute("role", "separator");
                line.setAttribute("aria-orientation",
                                  control.width > control.height ? "horizontal" : "vertical");
                return line;
            }
        }
    }

    // Frames first so that the controls inside them find their parent; the
    // text box, buttons and frame lie above every label and line, and among
    // those the table's order decides, the first row topmost.
    function buildForm1(form, controls) {
        const form1 = document.createElement("div");
        form1.id = "Form1";
        form1.style.width = `${form.width}px`;
        form1.style.height = `${form.height}px`;
        form1.style.backgroundColor = colour(form.backColour);
        const focusable = [];
        const ordered = [...controls.filter((c) => c.kind === "frame"),
                         ...controls.filter((c) => c.kind !== "frame")];
        for (const control of ordered) {
            const element = makeElement(control);
            element.id = control.name;
            element.style.left = `${control.left}px`;
            element.style.top = `${control.top}px`;
            if (!control.autoSize) {
                element.style.width = `${control.width}px`;
                element.style.height = `${control.height}px`;
            }
            if (control.backColour !== null && !control.transparent) {
                element.style.backgroundColor = colour(control.backColour);
            }
            const rank = controls.length - controls.indexOf(control);
            const above = control.kind !== "label" && control.kind !== "line";
            element.style.zIndex = String(above ? controls.length + rank : rank);
            applyFont(element, control, form);
            if (control.accessibleName) {
                element.setAttribute("aria-label", control.accessibleName);
                // A named label is a cell of the board: a screen reader hears
                // its new caption, as the desktop announces it.
                if (control.kind === "label") {
                    element.setAttribute("role", "status");
                }
            }
            element.hidden = control.hidden;
            if (control.kind === "button" || control.kind === "textBox") {
                focusable.push({ element, tabIndex: control.tabIndex });
            }
            (control.parent ? elements.get(control.parent) : form1).append(element);
            elements.set(control.name, element);
        }
        focusable.sort((a, b) => a.tabIndex - b.tabIndex);
        focusable.forEach(({ element }, index) => { element.tabIndex = index + 1; });
        return form1;
    }

    // -- the game's side calls these (Module.page) ---------------------------

    function showCell(name, text, visible, enabled) {
        const element = elements.get(name);
        if (element instanceof HTMLInputElement) {
            // Rewriting an equal text would move the player's cursor.
            if (element.value !== text) {
                element.value = text;
            }
        } else if (element.classList.contains("frame")) {
            showFrameTitle(element, text);
        } else if (element.textContent !== text) {
            // An equal caption is not written again, so it is not announced again.
            element.textContent = text;
        }
        element.hidden = !visible;
        if ("disabled" in element) {
            element.disabled = !enabled;
        }
    }

    // Resolves once the player has dismissed the box: OK, Enter, Space or Escape.
    function showMessageBox(title, text) {
        const box = document.getElementById("messageBox");
        document.getElementById("messageBoxTitle").textContent = title;
        document.getElementById("messageBoxText").textContent = text;
        return new Promise((resolve) => {
            box.addEventListener("close", () => resolve(), { once: true });
            box.showModal();
            document.getElementById("messageBoxOk").focus();
        });
    }

    // -- the player's events into the game -----------------------------------

    function call(entry, argTypes = [], args = []) {
        if (running) {
            return;
        }
        running = true;
        Promise.resolve(module.ccall(entry, "number", argTypes, args, { async: true }))
            .catch(fail)
            .finally(() => { running = false; });
    }

    function routeEvents() {
        for (const [name, element] of elements) {
            if (element instanceof HTMLButtonElement) {
                element.addEventListener("click", () => call("bulPgiaClick", ["string"], [name]));
            }
        }
        elements.get("Label6").addEventListener("dblclick", () => call("bulPgiaDoubleClickLabel6"));
        const text1 = elements.get("Text1");
        text1.addEventListener("input", () => {
            if (!running) {
                module.text1Edited(text1.value);
            }
        });
    }

    async function start(loaded) {
        module = loaded;
        const form = module.form1();
        document.title = form.caption;
        await loadBoardFonts(form);
        place.replaceChildren(buildForm1(form, module.controls()));
        routeEvents();
        module.ccall("bulPgiaLoad", null, [], []);
        elements.get("Text1").focus();
    }

    if (typeof createBulPgia !== "function") {
        fail("bul-pgia.js did not load");
        return;
    }
    // A browser without WebAssembly makes the module throw at once rather than reject.
    Promise.resolve()
        .then(() => createBulPgia({ page: { showCell, showMessageBox } }))
        .then(start)
        .catch(fail);
})();
