// Building elements. Text always goes in as text (textContent, attributes), never as HTML.

export function el(tag, attributes = {}, ...children) {
    const element = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
        if (value === null || value === undefined || value === false)
            continue;
        if (name === "class")
            element.className = value;
        else if (name === "text")
            element.textContent = value;
        else if (name.startsWith("on"))
            element.addEventListener(name.slice(2), value);
        else
            element.setAttribute(name, value === true ? "" : String(value));
    }
    for (const child of children) {
        if (child !== null && child !== undefined && child !== false)
            element.append(child);
    }
    return element;
}

// The elements in a container that take the keyboard, in document order.
export function focusable(container) {
    return [...container.querySelectorAll("button, [href], input, select, textarea, [tabindex]")]
            .filter(e => !e.disabled && e.tabIndex >= 0 && !e.closest("[hidden]") && !e.closest("[inert]"));
}
