// PatternFly's modal box: keyboard focus stays inside while it is open, Esc answers with the
// cancel choice, and focus goes back where it was when it closes. A modal may open over another
// (a question over the editor): only the top one takes the keyboard.

import { el, focusable } from "./dom.js";

let counter = 0;

// buttons: [{ label, value, variant: "primary" | "secondary" | "link", isDefault, isCancel }].
// body: elements. Resolves with the value of the button pressed (the cancel value on Esc).
// onOpen(box, close) may keep the box open while it works; close(value) ends it.
export function openModal({ title, body, buttons, variant = "", onButton, describedBy = true }) {
    return new Promise(resolve => {
        const id = `gomcfg-modal-${++counter}`;
        const opener = document.activeElement;
        const main = document.getElementById("gomcfg");
        const below = [...document.querySelectorAll("body > .pf-c-backdrop")].pop() ?? null;
        const cancelValue = buttons.find(b => b.isCancel)?.value ?? null;

        const footer = el("footer", { class: "pf-c-modal-box__footer" });
        const titleText = el("span", { class: "pf-c-modal-box__title-text", text: title });
        const box = el("div", {
            class: `pf-c-modal-box ${variant}`,
            role: "dialog",
            "aria-modal": "true",
            "aria-labelledby": `${id}-title`,
            "aria-describedby": describedBy ? `${id}-body` : null,
        },
                       el("header", { class: "pf-c-modal-box__header" },
                          el("h1", { class: "pf-c-modal-box__title", id: `${id}-title` }, titleText)),
                       el("div", { class: "pf-c-modal-box__body", id: `${id}-body` }, ...body),
                       footer);
        const backdrop = el("div", { class: "pf-c-backdrop" },
                            el("div", { class: "pf-l-bullseye" }, box));

        const close = value => {
            backdrop.remove();
            if (below)
                below.inert = false;
            else if (main)
                main.inert = false;
            document.removeEventListener("keydown", onKey, true);
            if (opener && opener.isConnected && typeof opener.focus === "function")
                opener.focus();
            resolve(value);
        };
        const press = value => {
            if (onButton && onButton(value, close) === false)
                return;
            close(value);
        };

        let defaultButton = null;
        for (const b of buttons) {
            const button = el("button", {
                class: `pf-c-button pf-m-${b.variant || "secondary"}`,
                type: "button",
                text: b.label,
                "data-value": b.value,
                onclick: () => press(b.value),
            });
            footer.append(button);
            if (b.isDefault)
                defaultButton = button;
        }

        function onKey(event) {
            if (backdrop.inert)
                return;
            if (event.key === "Escape") {
                event.preventDefault();
                event.stopPropagation();
                press(cancelValue);
            } else if (event.key === "Tab") {
                const stops = focusable(box);
                if (stops.length === 0)
                    return;
                const first = stops[0];
                const last = stops[stops.length - 1];
                if (!box.contains(document.activeElement)) {
                    event.preventDefault();
                    first.focus();
                } else if (event.shiftKey && document.activeElement === first) {
                    event.preventDefault();
                    last.focus();
                } else if (!event.shiftKey && document.activeElement === last) {
                    event.preventDefault();
                    first.focus();
                }
            }
        }

        document.addEventListener("keydown", onKey, true);
        if (below)
            below.inert = true;
        else if (main)
            main.inert = true;
        document.body.append(backdrop);
        (defaultButton || focusable(box)[0] || box).focus();
    });
}
