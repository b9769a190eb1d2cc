// gomcfgctl on the server, through cockpit.spawn: one process per call, JSON in and out.

export const PROGRAM = "gomcfgctl";
export const PACKAGE = "gomcfg-terminal";

// A failure the page says as it is: message is one line for the admin.
export class ServerError extends Error {
    constructor(message, { missingProgram = false } = {}) {
        super(message);
        this.missingProgram = missingProgram;
    }
}

function parseJson(text) {
    try {
        return JSON.parse(text);
    } catch {
        return null;
    }
}

// Runs gomcfgctl with args (and input on its standard input) and gives its JSON answer. An answer
// with "error" (gomcfgctl's --json failure) rejects with that message.
export function runJson(cockpit, args, input) {
    return new Promise((resolve, reject) => {
        const proc = cockpit.spawn([PROGRAM, ...args], { superuser: "try", err: "message" });
        const failed = (ex, data) => {
            if (ex && ex.problem === "not-found") {
                reject(new ServerError(`${PROGRAM} is not installed on this server: install the package ${PACKAGE}.`,
                                       { missingProgram: true }));
                return;
            }
            const answer = parseJson(data ?? ex?.data ?? "");
            if (answer && typeof answer.error === "string")
                reject(new ServerError(answer.error));
            else
                reject(new ServerError(`${PROGRAM} failed: ${ex?.message || ex?.problem || String(ex)}`));
        };
        proc.then(data => {
            const answer = parseJson(data);
            if (answer === null)
                reject(new ServerError(`${PROGRAM} gave no readable answer`));
            else
                resolve(answer);
        }, failed);
        if (input !== undefined)
            proc.input(input);
    });
}

export function readSettings(cockpit, dir) {
    return runJson(cockpit, ["--dir", dir, "read", "--json"]);
}

export function applySettings(cockpit, dir, request) {
    return runJson(cockpit, ["--dir", dir, "apply", "--json"], JSON.stringify(request));
}

export function readText(cockpit, dir, name) {
    return runJson(cockpit, ["--dir", dir, "text", "read", name, "--json"]);
}

export function writeText(cockpit, dir, name, version, text) {
    return runJson(cockpit, ["--dir", dir, "text", "write", name, "--expect", version, "--json"], text);
}
