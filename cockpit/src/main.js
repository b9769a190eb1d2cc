// The page's start: which directory, then the sheet for it.

import model from "gomcfg-pages";
import { el } from "./dom.js";
import { Sheet } from "./sheet.js";
import { followCockpitTheme } from "./theme.js";

import "./gomcfg.css";

const cockpit = window.cockpit;
followCockpitTheme();

const storageKey = () => `gomcfg:dir:${cockpit.transport.host}`;

// The location option dir, else the last one used on this host.
function chosenDirectory() {
    const fromLocation = cockpit.location.options.dir;
    if (typeof fromLocation === "string" && fromLocation !== "")
        return fromLocation;
    try {
        return window.localStorage.getItem(storageKey()) || null;
    } catch {
        return null;
    }
}

function remember(dir) {
    try {
        window.localStorage.setItem(storageKey(), dir);
    } catch {
        // Private browsing: the location option still works.
    }
}

const main = document.getElementById("gomcfg");
const heading = el("h1", { class: "gomcfg-title", text: model.title });
const directoryBar = el("div", { class: "gomcfg-directory" });
const sheetRoot = el("div", { class: "gomcfg-sheet" });
main.replaceChildren(heading, directoryBar, sheetRoot);

function directoryForm(current, message) {
    const id = "gomcfg-dir-field";
    const field = el("input", {
        class: "pf-c-form-control", type: "text", id, value: current ?? "", placeholder: "/srv/gomble",
        spellcheck: "false", autocomplete: "off",
    });
    const form = el("form", { class: "pf-c-form gomcfg-dir-form" },
                    el("div", { class: "pf-c-form__group" },
                       el("label", { class: "pf-c-form__label", for: id },
                          el("span", { class: "pf-c-form__label-text", text: `Directory that holds ${model.settingsFileName}` })),
                       field),
                    el("div", { class: "pf-c-form__actions" },
                       el("button", { class: "pf-c-button pf-m-primary", type: "submit", text: "Open" })));
    form.addEventListener("submit", event => {
        event.preventDefault();
        const dir = field.value.trim();
        if (dir === "")
            return;
        // The same location again changes nothing that Cockpit would report.
        openedDir = null;
        if (dir === cockpit.location.options.dir)
            open();
        else
            cockpit.location.go(cockpit.location.path, { ...cockpit.location.options, dir });
    });
    const parts = [];
    if (message)
        parts.push(el("div", { class: "pf-c-alert pf-m-inline pf-m-danger", role: "alert" },
                      el("p", { class: "pf-c-alert__title", text: message })));
    parts.push(form);
    return parts;
}

function askForDirectory(current, message) {
    directoryBar.replaceChildren();
    sheetRoot.replaceChildren(...directoryForm(current, message));
    main.dataset.state = "ask";
    sheetRoot.querySelector("input").focus();
}

let openedDir = null;

async function open() {
    const dir = chosenDirectory();
    if (dir === openedDir)
        return;
    openedDir = dir;
    if (!dir) {
        askForDirectory(null, null);
        return;
    }
    directoryBar.replaceChildren(
        el("span", { class: "gomcfg-directory__label", text: "Directory: " }),
        el("code", { class: "gomcfg-path", text: dir }),
        el("button", {
            class: "pf-c-button pf-m-link pf-m-inline", type: "button", text: "Change",
            onclick: () => askForDirectory(dir, null),
        }));
    main.dataset.state = "loading";
    const sheet = new Sheet({ cockpit, model, dir, root: sheetRoot });
    try {
        await sheet.start();
        // The first tab shows the file's values: what bench/cockpit-open measures.
        performance.mark("gomcfg-ready");
        remember(dir);
        main.dataset.state = "ready";
    } catch (error) {
        if (error.missingProgram) {
            sheetRoot.replaceChildren(el("div", { class: "pf-c-alert pf-m-inline pf-m-danger", role: "alert" },
                                         el("p", { class: "pf-c-alert__title", text: error.message })));
            main.dataset.state = "failed";
        } else {
            askForDirectory(dir, error.message);
        }
    }
}

cockpit.addEventListener("locationchanged", () => open());
cockpit.transport.wait(() => open());
