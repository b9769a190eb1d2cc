// What the page shows and checks, taken from the exported page model (gomcfgctl pages --json).
// Pure functions of the model and the values, so they are tested without a browser.

// "%1 to %2" style texts: each %N is the Nth argument.
export function format(text, ...args) {
    return String(text).replace(/%(\d)/g, (whole, n) => (n >= 1 && n <= args.length ? String(args[n - 1]) : whole));
}

export function keyedControls(page) {
    return page.controls.filter(c => c.key && !c.placeholder);
}

// The controls that take the keyboard, in the page's Tab order.
export function tabStops(page) {
    return page.controls
            .filter(c => c.tabOrder !== null && c.tabOrder !== undefined)
            .sort((a, b) => a.tabOrder - b.tabOrder);
}

// Whether a control responds now: placeholders never do; a dependent control while the check
// box it depends on is checked.
export function isEnabled(control, checked) {
    if (control.placeholder || control.enabled === false)
        return false;
    if (control.dependsOn === null || control.dependsOn === undefined)
        return true;
    return checked(control.dependsOn) === true;
}

// The text typed into a number field, checked as the sheet checks it when its tab is left.
// Returns { value } with the decimal text to write, or { message } refusing it.
export function checkNumber(text, key, messages) {
    const trimmed = String(text).trim();
    if (!/^[-+]?\d+$/.test(trimmed))
        return { message: format(messages.notANumber) };
    const value = Number.parseInt(trimmed, 10);
    if (value < key.min || value > key.max)
        return { message: format(messages.rangeRefusal, key.min, key.max) };
    return { value: String(value) };
}

// The first refusal on a page, in Tab order (the sheet validates in that order and stops at the
// first), or null.
export function firstRefusal(page, valueOf, messages) {
    for (const control of tabStops(page)) {
        if (!control.key || control.key.type !== "integer" || control.placeholder)
            continue;
        const checked = checkNumber(valueOf(control), control.key, messages);
        if (checked.message)
            return { control, message: checked.message };
    }
    return null;
}

// The writes of one Apply: every key of every tab shown so far, in each page's write order. A
// substitute list without a selection writes nothing, as in the sheet.
export function collectWrites(model, shownPages, valueOfKey) {
    const writes = [];
    model.pages.forEach((page, index) => {
        if (!shownPages.has(index))
            return;
        const controls = new Map(keyedControls(page).map(c => [c.key.name, c]));
        for (const name of page.writeOrder) {
            const control = controls.get(name);
            if (!control)
                continue;
            const value = valueOfKey(control);
            if (value !== null && value !== undefined)
                writes.push({ key: name, value });
        }
    });
    return writes;
}

// What Help shows for a page: its caption, its text, its keys with their defaults (and ranges)
// and the settings file's full path.
export function helpLines(model, page, filePath) {
    const lines = [];
    if (page.help)
        lines.push(page.help);
    const keys = page.writeOrder
            .map(name => keyedControls(page).find(c => c.key.name === name)?.key)
            .filter(Boolean);
    const keyLines = keys.map(key => key.type === "integer"
        ? `${key.name} = ${key.default}  (${key.min} to ${key.max})`
        : `${key.name} = ${key.default}`);
    return { caption: page.caption, text: lines, keys: keyLines, section: model.section, file: filePath };
}

// An address a link may lead to: http and https only, whole URLs only.
export function safeLink(address) {
    if (typeof address !== "string")
        return null;
    let url;
    try {
        url = new URL(address.trim());
    } catch {
        return null;
    }
    return url.protocol === "http:" || url.protocol === "https:" ? url.href : null;
}
