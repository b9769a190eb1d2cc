// The least a Cockpit page that runs a program can do: one cockpit.spawn(["true"]), shown ended.
const main = document.getElementById("floor");
window.cockpit.spawn(["true"]).then(() => {
    main.textContent = "true ended";
    performance.mark("floor-ready");
    main.dataset.state = "ready";
}, error => {
    main.textContent = String(error);
    main.dataset.state = "failed";
});
