// The page's model functions on the page model gomcfgctl exports: what a user would see go wrong
// in the browser if they did (a refusal naming another range, a write of an unseen tab, a
// greyed control that responds, a javascript: link).
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import test from "node:test";

import {
    checkNumber, collectWrites, firstRefusal, isEnabled, safeLink, tabStops,
} from "../../cockpit/src/model.js";

const model = JSON.parse(readFileSync(process.env.GOMCFG_PAGES_JSON, "utf8"));
const page = caption => model.pages.find(p => p.caption === caption);

test("numbers are refused with the key's own range, the first in Tab order", () => {
    const server = page("Server Options");
    const values = { "Frag Limit": "1001", "Time Limit": "-1" };
    const refused = firstRefusal(server, c => values[c.accessibleName] ?? "", model.messages);
    assert.equal(refused.control.key.name, "Nfraglimit");
    assert.equal(refused.message, "Please enter a whole number from 0 to 1000.");
    const port = page("Services").controls.find(c => c.key?.name === "Nhttpport");
    assert.equal(checkNumber("0", port.key, model.messages).message, "Please enter a whole number from 1 to 64000.");
    assert.equal(checkNumber("", port.key, model.messages).message, "Please enter a whole number.");
    assert.deepEqual(checkNumber(" 080 ", port.key, model.messages), { value: "80" });
});

test("an Apply writes every key of the tabs shown, in each page's order, and no others", () => {
    const shown = new Set([0, 2]);
    const writes = collectWrites(model, shown, control => control.key.type === "weapon" && control.key.name === "bfgT"
        ? null
        : control.key.default);
    const keys = writes.map(w => w.key);
    assert.deepEqual(keys, [...model.pages[0].writeOrder.filter(k => k !== "bfgT"), ...model.pages[2].writeOrder]);
    assert.ok(!keys.includes("isc"));
});

test("dependent controls follow their check box; placeholders never respond", () => {
    const gomble = page("Gomble Stuff");
    const editMotd = gomble.controls.find(c => c.action?.kind === "editFile");
    assert.equal(isEnabled(editMotd, () => true), true);
    assert.equal(isEnabled(editMotd, () => false), false);
    for (const placeholder of gomble.controls.filter(c => c.placeholder))
        assert.equal(isEnabled(placeholder, () => true), false);
    assert.deepEqual(tabStops(page("Weapons")).slice(0, 2).map(c => c.key.name), ["shotgun", "shotgunT"]);
});

test("only http and https addresses become links", () => {
    assert.equal(safeLink("https://example.org/help"), "https://example.org/help");
    assert.equal(safeLink(" http://example.org "), "http://example.org/");
    for (const bad of ["javascript:alert(1)", "data:text/html,x", "file:///etc/passwd", "example.org", null, ""])
        assert.equal(safeLink(bad), null, String(bad));
});
