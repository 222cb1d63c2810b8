#!/usr/bin/env node
// Writes the page's TypeScript declarations of the host object `nodeJs` from the interface description,
// so that the method table is written down once (the IDL) and the page's view of it cannot drift.
//   node tools/gen-nodejs-dts.mjs <IHostObjectNodeJs.idl> <out.d.ts>           writes the declarations
//   node tools/gen-nodejs-dts.mjs <IHostObjectNodeJs.idl> <nodeJs.d.ts> --check  fails when they differ
import { readFileSync, writeFileSync } from "node:fs";
import { basename } from "node:path";

// Automation types as the browser's host-object proxy hands them to script.
const scriptTypes = {
    BSTR: "string",
    long: "number",
    DATE: "Date",
    "IDispatch*": "(...args: any[]) => unknown",
};

function parseParameter(text) {
    const match = /^\[([^\]]*)\]\s*(\w+\s*\*?)\s*(\w+)$/.exec(text.trim());
    if (!match)
        throw new Error(`cannot read parameter "${text}"`);
    const attributes = match[1].split(",").map((a) => a.trim());
    const type = match[2].replace(/\s+/g, "");
    const isResult = attributes.includes("retval");
    const scriptType = scriptTypes[isResult ? type.replace(/\*$/, "") : type];
    if (!scriptType)
        throw new Error(`no script type for "${type}" in "${text}"`);
    return { name: match[3], isResult, scriptType };
}

// Returns the members of IHostObjectNodeJs in slot order (slot 3 first).
export function parseMembers(idl) {
    const body = /interface\s+IHostObjectNodeJs\s*:\s*IUnknown\s*\{([\s\S]*?)\n\}/.exec(idl);
    if (!body)
        throw new Error("IHostObjectNodeJs not found");
    const members = [];
    for (const line of body[1].split("\n")) {
        const text = line.trim();
        if (text === "" || text.startsWith("//"))
            continue;
        const match = /^(?:\[(propget|propput)\]\s*)?HRESULT\s+(\w+)\((.*)\);$/.exec(text);
        if (!match)
            throw new Error(`cannot read member "${text}"`);
        const parameters = match[3].trim() === "" ? [] : match[3].split(/,(?![^\[]*\])/).map(parseParameter);
        members.push({
            slot: members.length + 3,
            accessor: match[1] ?? "method",
            name: match[2],
            inputs: parameters.filter((p) => !p.isResult),
            result: parameters.find((p) => p.isResult)?.scriptType ?? "void",
        });
    }
    return members;
}

function argumentList(inputs) {
    return inputs.map((p) => `${p.name}: ${p.scriptType}`).join(", ");
}

// One proxy face: `wrap` turns a result type into what that proxy returns.
function proxyMembers(members, wrap) {
    const lines = [];
    for (const m of members) {
        if (m.accessor === "method") {
            lines.push(`    /** slot ${m.slot} */`);
            lines.push(`    ${m.name}(${argumentList(m.inputs)}): ${wrap(m.result)};`);
        } else if (m.accessor === "propget" && m.inputs.length === 0) {
            lines.push(`    /** slot ${m.slot} (read), slot ${m.slot + 1} (write) */`);
            lines.push(`    get ${m.name}(): ${wrap(m.result)};`);
        } else if (m.accessor === "propput" && m.inputs.length === 1) {
            lines.push(`    set ${m.name}(${argumentList(m.inputs)});`);
        } else if (m.accessor === "propget") {
            const index = m.inputs[0];
            lines.push(`    /** slot ${m.slot} (read), slot ${m.slot + 1} (write), indexed by ${index.name} */`);
            lines.push(`    ${m.name}: { [${index.name}: ${index.scriptType}]: ${wrap(m.result)} };`);
        }
    }
    return lines.join("\n");
}

export function declarations(members, sourceName) {
    return `// Generated from bridge/${sourceName} by tools/gen-nodejs-dts.mjs; do not edit:
// cmake --build <build> --target update-nodejs-dts
// The host object the shell exposes to the start page as \`nodeJs\`.

declare namespace Vendrak {
  /** chrome.webview.hostObjects.sync.nodeJs: every call blocks the page until the shell answers. */
  interface NodeJsSync {
${proxyMembers(members, (t) => t)}
  }

  /** chrome.webview.hostObjects.nodeJs: every call returns a promise of its result. */
  interface NodeJsAsync {
${proxyMembers(members, (t) => `Promise<${t}>`)}
  }
}

interface Window {
  chrome: {
    webview: {
      hostObjects: {
        nodeJs: Vendrak.NodeJsAsync;
        sync: { nodeJs: Vendrak.NodeJsSync };
      };
    };
  };
}
`;
}

function main(argv) {
    const [idlPath, outPath, mode] = argv;
    if (!idlPath || !outPath || (mode !== undefined && mode !== "--check")) {
        console.error("usage: gen-nodejs-dts.mjs <idl> <d.ts> [--check]");
        return 2;
    }
    const text = declarations(parseMembers(readFileSync(idlPath, "utf8")), basename(idlPath));
    if (mode === "--check") {
        let committed = "";
        try {
            committed = readFileSync(outPath, "utf8");
        } catch {
            // a missing file is reported as a difference below
        }
        if (committed !== text) {
            console.error(`${outPath} does not match ${idlPath}: regenerate it with the build`);
            return 1;
        }
        return 0;
    }
    writeFileSync(outPath, text);
    return 0;
}

if (process.argv[1] && import.meta.url.endsWith(basename(process.argv[1])))
    process.exitCode = main(process.argv.slice(2));
