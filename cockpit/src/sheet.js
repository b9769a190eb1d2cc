// The sheet: six tabs rendered from the exported page model, their values from the server, and
// Apply, Cancel and Help. Every rule about values and saving is gomcfgctl's; this file shows
// what it says and forwards what the admin does.

import { el } from "./dom.js";
import { openModal } from "./modal.js";
import {
    checkNumber, collectWrites, firstRefusal, helpLines, isEnabled, safeLink, tabStops,
} from "./model.js";
import { applySettings, readSettings, readText, writeText } from "./server.js";

// Dialog units to pixels.
const UNIT_X = 2;
const UNIT_Y = 2.25;

function place(element, control) {
    element.style.left = `${control.x * UNIT_X}px`;
    element.style.top = `${control.y * UNIT_Y}px`;
    element.style.width = `${control.width * UNIT_X}px`;
    return element;
}

function baseName(path) {
    return String(path).split("/").pop();
}

export class Sheet {
    constructor({ cockpit, model, dir, root }) {
        this.cockpit = cockpit;
        this.model = model;
        this.dir = dir;
        this.root = root;
        this.active = 0;
        this.shownPages = new Set([0]);
        this.modified = false;
        this.busy = false;
        this.file = null; // the last answer of read or apply
        this.pageInputs = model.pages.map(() => new Map());
        this.previews = [];
        this.shortcutLinks = [];
    }

    // Builds the tabs at once, then fills them with the server's values (one process).
    start() {
        this.build();
        return this.reload();
    }

    build() {
        const tabs = el("ul", { class: "pf-c-tabs__list", role: "tablist", "aria-label": this.model.title });
        this.tabButtons = [];
        this.panels = [];
        const panelArea = el("div", { class: "gomcfg-panels" });
        this.model.pages.forEach((page, index) => {
            const button = el("button", {
                class: "pf-c-tabs__link",
                type: "button",
                role: "tab",
                id: `gomcfg-tab-${index}`,
                "aria-controls": `gomcfg-panel-${index}`,
                "aria-selected": index === 0 ? "true" : "false",
                tabindex: index === 0 ? "0" : "-1",
                onclick: () => this.selectTab(index),
                onkeydown: event => this.tabKey(event, index),
            }, el("span", { class: "pf-c-tabs__item-text", text: page.caption }));
            tabs.append(el("li", { class: `pf-c-tabs__item${index === 0 ? " pf-m-current" : ""}`, role: "presentation" },
                           button));
            this.tabButtons.push(button);
            const panel = el("section", {
                class: "pf-c-tab-content gomcfg-panel",
                role: "tabpanel",
                id: `gomcfg-panel-${index}`,
                "aria-labelledby": `gomcfg-tab-${index}`,
                hidden: index !== 0,
            }, this.buildPage(page, index));
            this.panels.push(panel);
            panelArea.append(panel);
        });

        this.applyButton = el("button", {
            class: "pf-c-button pf-m-primary", type: "button", text: "Apply", disabled: true, onclick: () => this.apply(),
        });
        this.cancelButton = el("button", {
            class: "pf-c-button pf-m-secondary", type: "button", text: "Cancel", onclick: () => this.cancel(),
        });
        this.helpButton = el("button", {
            class: "pf-c-button pf-m-link", type: "button", text: "Help", onclick: () => this.help(),
        });
        this.alerts = el("div", { class: "gomcfg-alerts", "aria-live": "polite" });
        this.status = el("p", { class: "gomcfg-status", role: "status" });

        // Messages under the page, next to the buttons: the tabs stay where they were clicked.
        this.root.replaceChildren(
            el("div", { class: "pf-c-tabs gomcfg-tabs" }, tabs),
            panelArea,
            this.alerts,
            el("div", { class: "gomcfg-buttons" }, this.applyButton, this.cancelButton, this.helpButton, this.status));
    }

    buildPage(page, pageIndex) {
        const area = el("div", { class: "gomcfg-dialog" });
        area.style.width = `${page.width * UNIT_X}px`;
        area.style.height = `${page.height * UNIT_Y}px`;
        // Frames and texts first, so the controls after them come in Tab order.
        for (const control of page.controls) {
            if (control.kind === "groupBox")
                area.append(this.buildGroup(control));
            else if (control.kind === "label")
                area.append(place(el("span", {
                    class: `gomcfg-label${control.placeholder ? " gomcfg-m-placeholder" : ""}`,
                    text: control.caption,
                }), control));
            else if (control.kind === "picture")
                area.append(place(el("img", { class: "gomcfg-picture", src: baseName(control.caption), alt: "" }), control));
        }
        const stops = tabStops(page);
        const rest = page.controls.filter(c => !stops.includes(c) && !["groupBox", "label", "picture"].includes(c.kind));
        for (const control of [...stops, ...rest])
            area.append(this.buildControl(page, pageIndex, control));
        return area;
    }

    buildGroup(control) {
        const frame = place(el("div", { class: `gomcfg-group${control.placeholder ? " gomcfg-m-placeholder" : ""}` },
                               el("span", { class: "gomcfg-group__caption", text: control.caption })), control);
        frame.style.height = `${control.height * UNIT_Y}px`;
        return frame;
    }

    buildControl(page, pageIndex, control) {
        const id = `gomcfg-${pageIndex}-${control.id}-${control.x}-${control.y}`;
        const inputs = this.pageInputs[pageIndex];
        const changed = () => this.markModified();
        let wrapper;
        let input = null;
        switch (control.kind) {
        case "checkbox":
            input = el("input", { class: "pf-c-check__input", type: "checkbox", id, disabled: control.placeholder });
            input.addEventListener("change", () => {
                this.updateDependents(pageIndex);
                changed();
            });
            wrapper = el("div", { class: "pf-c-check" }, input,
                         el("label", { class: "pf-c-check__label", for: id, text: control.caption }));
            break;
        case "number":
        case "edit":
            input = el("input", {
                class: "pf-c-form-control", type: "text", id,
                inputmode: control.kind === "number" ? "numeric" : null,
                "aria-label": control.accessibleName || control.caption,
                disabled: control.placeholder,
            });
            input.addEventListener("input", () => {
                input.removeAttribute("aria-invalid");
                input.removeAttribute("aria-describedby");
                changed();
            });
            wrapper = el("div", { class: "gomcfg-field" }, input);
            break;
        case "preview":
            input = el("textarea", {
                class: "pf-c-form-control gomcfg-preview", id, readonly: true,
                "aria-label": control.accessibleName || control.caption,
            });
            input.style.height = `${control.height * UNIT_Y}px`;
            this.previews.push(input);
            wrapper = el("div", { class: "gomcfg-field" }, input);
            break;
        case "weaponList": {
            input = el("select", {
                class: "pf-c-form-control", id, "aria-label": control.accessibleName || control.caption,
                disabled: control.placeholder,
            });
            // In the order the sheet's list shows them.
            for (const choice of control.key?.choices ?? [])
                input.append(el("option", { value: choice.token, text: choice.name }));
            input.addEventListener("change", changed);
            wrapper = el("div", { class: "gomcfg-field" }, input);
            break;
        }
        case "comboBox":
            if (control.placeholder && !control.accessibleName && !control.caption) {
                // Greyed and never responding, with nothing to call it by: drawn, not offered.
                wrapper = el("div", { class: "gomcfg-field", "aria-hidden": "true" },
                             el("div", { class: "pf-c-form-control gomcfg-m-placeholder gomcfg-combo" }));
            } else {
                input = el("select", {
                    class: "pf-c-form-control", id, disabled: control.placeholder,
                    "aria-label": control.accessibleName || control.caption,
                });
                wrapper = el("div", { class: "gomcfg-field" }, input);
            }
            break;
        case "button":
            wrapper = this.buildButton(control, id);
            input = wrapper.querySelector("button, a");
            break;
        default:
            wrapper = el("span", { text: control.caption });
        }
        if (control.placeholder)
            wrapper.classList.add("gomcfg-m-placeholder");
        if (input)
            inputs.set(control, input);
        return place(wrapper, control);
    }

    buildButton(control, id) {
        const action = control.action ?? {};
        if (action.kind === "openShortcut") {
            // A link once the address is known; until then, and without an http(s) address, a
            // button that says why it leads nowhere.
            const slot = el("div", { class: "gomcfg-field" });
            this.shortcutLinks.push({ control, slot, id });
            this.fillShortcut({ control, slot, id });
            return slot;
        }
        const button = el("button", {
            class: "pf-c-button pf-m-secondary gomcfg-button", type: "button", id, text: control.caption,
            disabled: control.placeholder,
        });
        if (action.kind === "editFile")
            button.addEventListener("click", () => this.editFile(action.file));
        else if (action.kind === "help")
            button.addEventListener("click", () => this.help());
        return el("div", { class: "gomcfg-field" }, button);
    }

    fillShortcut({ control, slot, id }) {
        const file = control.action.file;
        const address = this.file?.shortcuts?.[file];
        const href = safeLink(address);
        if (href) {
            slot.replaceChildren(el("a", {
                class: "pf-c-button pf-m-secondary gomcfg-button", id, href, target: "_blank",
                rel: "noopener noreferrer", title: href, text: control.caption,
            }));
        } else {
            const why = this.file === null ? null
                : address ? `${file} leads to no http or https address`
                    : `${file} has no address (missing, or without URL=)`;
            slot.replaceChildren(el("button", {
                class: "pf-c-button pf-m-secondary gomcfg-button", type: "button", id, disabled: true,
                title: why, text: control.caption,
            }));
        }
        const input = slot.firstChild;
        this.pageInputs.forEach(inputs => {
            if (inputs.has(control))
                inputs.set(control, input);
        });
    }

    // --- Values ---

    checkedOf(pageIndex) {
        const page = this.model.pages[pageIndex];
        return id => {
            const control = page.controls.find(c => c.id === id && c.kind === "checkbox");
            return control ? this.pageInputs[pageIndex].get(control)?.checked === true : false;
        };
    }

    updateDependents(pageIndex) {
        const checked = this.checkedOf(pageIndex);
        for (const [control, input] of this.pageInputs[pageIndex]) {
            if (control.placeholder || control.dependsOn === null || control.dependsOn === undefined)
                continue;
            const enabled = isEnabled(control, checked);
            input.disabled = !enabled;
        }
    }

    // Shows what the file holds (after opening, Cancel or Apply).
    show(file) {
        this.file = file;
        this.model.pages.forEach((page, pageIndex) => {
            for (const [control, input] of this.pageInputs[pageIndex]) {
                const key = control.key;
                if (!key || control.placeholder)
                    continue;
                const value = file.shown[key.name];
                if (key.type === "boolean")
                    input.checked = value === "true";
                else if (key.type === "integer")
                    input.value = value ?? "";
                else if (key.type === "weapon")
                    input.value = value ?? "";
                if (key.type === "weapon" && (value === null || value === undefined))
                    input.selectedIndex = -1;
                input.removeAttribute("aria-invalid");
            }
            this.updateDependents(pageIndex);
        });
        this.showPreview();
        for (const link of this.shortcutLinks)
            this.fillShortcut(link);
        this.modified = false;
        this.updateButtons();
    }

    showPreview(fallback = this.model.messages.motdMissing) {
        const text = this.file?.motd?.text ?? fallback ?? "";
        for (const preview of this.previews)
            preview.value = text;
    }

    valueOfKey(control, input) {
        const key = control.key;
        if (key.type === "boolean")
            return input.checked ? "true" : "false";
        if (key.type === "integer")
            return checkNumber(input.value, key, this.model.messages).value ?? null;
        return input.selectedIndex >= 0 ? input.value : null;
    }

    markModified() {
        this.modified = true;
        this.clearStatus();
        this.updateButtons();
    }

    updateButtons() {
        this.applyButton.disabled = this.busy || !this.modified;
        this.cancelButton.disabled = this.busy;
        this.root.dataset.busy = this.busy ? "true" : "false";
    }

    // --- Messages ---

    clearAlerts() {
        this.alerts.replaceChildren();
    }

    clearStatus() {
        this.status.textContent = "";
    }

    alert(text, variant = "danger", title = null) {
        const alert = el("div", { class: `pf-c-alert pf-m-inline pf-m-${variant}`, role: variant === "danger" ? "alert" : null },
                         el("p", { class: "pf-c-alert__title", text: title ?? text }),
                         title ? el("div", { class: "pf-c-alert__description gomcfg-pre", text }) : null);
        this.alerts.append(alert);
        return alert;
    }

    // --- Tabs ---

    tabKey(event, index) {
        const last = this.tabButtons.length - 1;
        const to = { ArrowRight: index === last ? 0 : index + 1, ArrowLeft: index === 0 ? last : index - 1, Home: 0, End: last }[event.key];
        if (to === undefined)
            return;
        event.preventDefault();
        if (this.selectTab(to))
            this.tabButtons[to].focus();
    }

    // The sheet keeps a tab current while one of its numbers is refused.
    refusal(pageIndex) {
        const page = this.model.pages[pageIndex];
        const inputs = this.pageInputs[pageIndex];
        const refused = firstRefusal(page, control => inputs.get(control)?.value ?? "", this.model.messages);
        if (!refused)
            return false;
        const input = inputs.get(refused.control);
        this.clearAlerts();
        this.alert(refused.message).id = "gomcfg-refusal";
        input.setAttribute("aria-invalid", "true");
        input.setAttribute("aria-describedby", "gomcfg-refusal");
        input.focus();
        input.select();
        return true;
    }

    selectTab(index) {
        if (index === this.active)
            return true;
        if (this.refusal(this.active))
            return false;
        this.clearAlerts();
        this.showNotWritable();
        this.tabButtons.forEach((button, i) => {
            const current = i === index;
            button.setAttribute("aria-selected", current ? "true" : "false");
            button.tabIndex = current ? 0 : -1;
            button.parentElement.classList.toggle("pf-m-current", current);
            this.panels[i].hidden = !current;
        });
        this.active = index;
        this.shownPages.add(index);
        return true;
    }

    // --- Reading and saving ---

    async run(work) {
        this.busy = true;
        this.updateButtons();
        try {
            return await work();
        } finally {
            this.busy = false;
            this.updateButtons();
        }
    }

    showNotWritable() {
        if (this.file && !this.file.writable)
            this.alert(this.file.notWritableMessage, "warning");
    }

    reload() {
        return this.run(async () => {
            const file = await readSettings(this.cockpit, this.dir);
            this.clearAlerts();
            this.show(file);
            this.showNotWritable();
            // The weapon rows say what they cannot read when the sheet first shows them.
            for (const report of file.reports ?? [])
                this.alert(report.message, "warning", report.key);
            this.root.dataset.state = "ready";
            return file;
        });
    }

    async cancel() {
        this.clearStatus();
        try {
            await this.reload();
            this.shownPages = new Set([this.active]);
        } catch (error) {
            this.clearAlerts();
            this.alert(error.message);
        }
    }

    async apply() {
        if (this.busy || this.refusal(this.active))
            return;
        this.clearAlerts();
        this.clearStatus();
        if (!this.file.writable) {
            this.alert(this.file.notWritableMessage);
            return;
        }
        const writes = collectWrites(this.model, this.shownPages, control => {
            const pageIndex = this.model.pages.findIndex(p => p.controls.includes(control));
            return this.valueOfKey(control, this.pageInputs[pageIndex].get(control));
        });
        const request = { read: this.file.stored, writes, settle: "ask" };
        try {
            let answer = await this.run(() => applySettings(this.cockpit, this.dir, request));
            if (answer.written === false) {
                const choice = await this.askConflict(answer.question);
                if (choice === "cancel")
                    return;
                request.settle = choice === "yes" ? "here" : "file";
                answer = await this.run(() => applySettings(this.cockpit, this.dir, request));
            }
            this.show(answer);
            this.status.textContent = "Saved.";
        } catch (error) {
            this.alert(error.message);
        }
    }

    // gomcfgctl words the question, as every front end asks it.
    askConflict(question) {
        return openModal({
            title: this.model.title,
            variant: "pf-m-sm pf-m-warning gomcfg-conflict",
            body: [el("p", { class: "gomcfg-pre", text: question })],
            buttons: [
                { label: "Yes", value: "yes", variant: "primary" },
                { label: "No", value: "no", variant: "secondary" },
                { label: "Cancel", value: "cancel", variant: "link", isDefault: true, isCancel: true },
            ],
        });
    }

    help() {
        const page = this.model.pages[this.active];
        const help = helpLines(this.model, page, this.file?.file ?? `${this.dir}/${this.model.settingsFileName}`);
        const body = help.text.map(t => el("p", { text: t }));
        if (help.keys.length > 0) {
            body.push(el("p", { text: `Keys in section [${help.section}], with their defaults:` }));
            body.push(el("pre", { class: "gomcfg-keys", text: help.keys.join("\n") }));
        }
        body.push(el("p", {}, "Settings file: ", el("code", { class: "gomcfg-path", text: help.file })));
        body.push(el("p", { text: "A page in the browser does not close, so it has no OK: Apply saves, Cancel drops the edits and shows the file again." }));
        return openModal({
            title: help.caption,
            variant: "pf-m-sm gomcfg-help",
            body,
            buttons: [{ label: "Close", value: "close", variant: "primary", isDefault: true, isCancel: true }],
        });
    }

    // Keeping the typed text is the answer to Esc and the default, so one key loses nothing.
    askDiscard(name) {
        return openModal({
            title: name,
            variant: "pf-m-sm pf-m-warning gomcfg-discard",
            body: [el("p", { text: `Discard the changes to ${name}?` })],
            buttons: [
                { label: "Keep editing", value: "keep", variant: "primary", isDefault: true, isCancel: true },
                { label: "Discard", value: "discard", variant: "secondary pf-m-danger" },
            ],
        });
    }

    // "Edit Motd", "Edit Allow File", "Edit Deny File": the file in a text area, saved only over
    // the version that was opened.
    async editFile(name) {
        let opened;
        try {
            opened = await this.run(() => readText(this.cockpit, this.dir, name));
        } catch (error) {
            this.clearAlerts();
            this.alert(error.message);
            return;
        }
        const areaId = `gomcfg-editor-${name.replace(/\W/g, "-")}`;
        const area = el("textarea", { class: "pf-c-form-control gomcfg-editor", id: areaId, spellcheck: "false" });
        area.value = opened.text;
        // As the text area holds it (its line ends made "\n"), so that an untouched text compares equal.
        let savedText = area.value;
        const messages = el("div", { class: "gomcfg-editor-messages", "aria-live": "polite" });
        const say = (text, variant) => messages.replaceChildren(el("div", {
            class: `pf-c-alert pf-m-inline pf-m-${variant}`, role: variant === "danger" ? "alert" : "status",
        }, el("p", { class: "pf-c-alert__title", text })));
        if (!opened.writable)
            say(opened.notWritableMessage, "warning");
        let version = opened.version;
        let saving = false;
        await openModal({
            title: name,
            variant: "pf-m-md gomcfg-editor-modal",
            describedBy: false,
            body: [
                el("p", {}, el("code", { class: "gomcfg-path", text: opened.path })),
                el("label", { class: "pf-c-form__label", for: areaId }, el("span", { class: "pf-c-form__label-text", text: `Text of ${name}` })),
                area,
                messages,
            ],
            buttons: [
                { label: "Save", value: "save", variant: "primary" },
                { label: "Close", value: "close", variant: "link", isCancel: true },
            ],
            onButton: (value, close) => {
                if (value !== "save") {
                    if (area.value === savedText)
                        return true;
                    // The editor is inert while the question is open, so it is asked once.
                    this.askDiscard(name).then(choice => {
                        if (choice === "discard")
                            close(value);
                        else
                            area.focus();
                    });
                    return false;
                }
                if (saving)
                    return false;
                saving = true;
                const text = area.value;
                writeText(this.cockpit, this.dir, name, version, text).then(answer => {
                    version = answer.version;
                    savedText = text;
                    say("Saved.", "success");
                    if (answer.motd && this.file) {
                        this.file.motd = answer.motd;
                        this.showPreview(this.model.messages.motdMissingAfterEdit);
                    }
                }, error => say(error.message, "danger")).finally(() => {
                    saving = false;
                });
                return false;
            },
        });
    }
}
