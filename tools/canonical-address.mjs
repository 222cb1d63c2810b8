#!/usr/bin/env node
// The canonical form of a start address, as the browser reports a navigation to it: the build refuses a
// VENDRAK_START_ADDRESS written any other way, because nodeJs is exposed only to an exact match.
//   node tools/canonical-address.mjs <address>   prints the canonical form; fails when it is no address
import { fileURLToPath } from "node:url";

// Node's parser follows the WHATWG rules. Chromium's agrees on every case the page tests compare
// (tests/web/Addresses.test.js) except these: it also escapes '^' and '|' in the path.
const kChromiumPathEscapes = [
    [/\^/g, "%5E"],
    [/\|/g, "%7C"],
];

/** The canonical form of `text`; throws a TypeError when it is no address. */
export function CanonicalAddress(text) {
    const url = new URL(text);
    const tail = url.pathname + url.search + url.hash;
    if (!url.href.endsWith(tail))
        return url.href;
    let path = url.pathname;
    for (const [character, escape] of kChromiumPathEscapes)
        path = path.replace(character, escape);
    return url.href.slice(0, url.href.length - tail.length) + path + url.search + url.hash;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    try {
        process.stdout.write(CanonicalAddress(process.argv[2] ?? "") + "\n");
    } catch (error) {
        process.stderr.write(`${error.message}\n`);
        process.exit(1);
    }
}
