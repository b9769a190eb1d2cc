// Cockpit's light or dark theme: the shell keeps the choice in localStorage "shell:style"
// ("auto", "light" or "dark") and tells open pages with a "cockpit-style" event; PatternFly 4,
// which Cockpit 287 uses, turns dark with the class pf-theme-dark on the root element.

function wantsDark(style) {
    const chosen = style || window.localStorage.getItem("shell:style") || "auto";
    const systemDark = window.matchMedia?.("(prefers-color-scheme: dark)").matches ?? false;
    return chosen === "dark" || (chosen === "auto" && systemDark);
}

function applyTheme(style) {
    document.documentElement.classList.toggle("pf-theme-dark", wantsDark(style));
}

export function followCockpitTheme() {
    applyTheme();
    window.addEventListener("storage", event => {
        if (event.key === "shell:style")
            applyTheme();
    });
    window.addEventListener("cockpit-style", event => applyTheme(event.detail?.style));
    window.matchMedia?.("(prefers-color-scheme: dark)").addEventListener("change", () => applyTheme());
}
