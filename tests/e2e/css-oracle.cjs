// `tintwell --convert` against colorjs.io, the library of the editors of CSS Color 4: random colour texts in
// every syntax (a fixed seed, printed), converted by both; the colours agree within 1 per 8-bit channel, or 2
// where the colour lies outside sRGB and was gamut-mapped; and every output format reads back in colorjs.io as
// exactly the same colour, and with no number a decimal shorter. Every named colour is checked too.
// Usage: node css-oracle.cjs TINTWELL NAMED_COLOURS_SOURCE [SEED]
"use strict";
const { execFileSync } = require("child_process");
const fs = require("fs");
const Color = require("colorjs.io").default;

const [tintwell, namesSource, seedText] = process.argv.slice(2);
const seed = Number(seedText ?? 20261208);
console.log(`seed ${seed}`);

// mulberry32: a small generator that gives the same texts for the same seed.
let state = seed >>> 0;
function random() {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = list => list[Math.floor(random() * list.length)];
const between = (low, high) => low + random() * (high - low);

// A number as CSS may write it: plain, with decimals, with a leading point or plus, or with an exponent.
function number(low, high) {
    const value = between(low, high);
    switch (Math.floor(random() * 6)) {
    case 0: return String(Math.round(value));
    case 1: return value.toFixed(1);
    case 2: return value.toFixed(4);
    case 3: return value >= 0 && value < 1 ? value.toFixed(3).replace(/^0/, "") : value.toFixed(2);
    case 4: return (value >= 0 ? "+" : "") + value.toFixed(2);
    default: return value === 0 ? "0e0" : value.toExponential(3);
    }
}
const percent = (low, high) => number(low, high) + "%";
function hue() {
    const degrees = between(-720, 720);
    switch (Math.floor(random() * 5)) {
    case 0: return (degrees / 360).toFixed(5) + "turn";
    case 1: return (degrees * Math.PI / 180).toFixed(6) + "rad";
    case 2: return (degrees / 0.9).toFixed(3) + "grad";
    case 3: return degrees.toFixed(2) + "deg";
    default: return degrees.toFixed(2);
    }
}
const maybeNone = text => (random() < 0.05 ? "none" : text);
const alpha = () => (random() < 0.3 ? ` / ${random() < 0.5 ? number(0, 1) : percent(0, 100)}` : "");
const hex = digits => Array.from({ length: digits }, () => pick("0123456789abcdefABCDEF")).join("");
const spaced = text => (random() < 0.1 ? `  ${text}\t` : text);

const syntaxes = [
    () => "#" + hex(pick([3, 4, 6, 8])),
    () => `rgb(${number(0, 255)}, ${number(0, 255)}, ${number(0, 255)})`,
    () => `rgba(${percent(0, 100)},${percent(0, 100)},${percent(0, 100)}, ${number(0, 1)})`,
    () => `RGB(${maybeNone(number(0, 255))} ${maybeNone(percent(0, 100))} ${maybeNone(number(0, 255))}${alpha()})`,
    () => `hsl(${hue()}, ${percent(0, 100)}, ${percent(0, 100)})`,
    () => `hsla(${maybeNone(hue())} ${maybeNone(percent(0, 100))} ${number(0, 100)}${alpha()})`,
    () => `hwb(${maybeNone(hue())} ${percent(0, 100)} ${maybeNone(percent(0, 100))}${alpha()})`,
    () => `lab(${maybeNone(number(0, 100))} ${number(-125, 125)} ${maybeNone(percent(-100, 100))}${alpha()})`,
    () => `lch(${percent(0, 100)} ${maybeNone(number(0, 150))} ${maybeNone(hue())}${alpha()})`,
    () => `oklab(${maybeNone(number(0, 1))} ${number(-0.4, 0.4)} ${maybeNone(percent(-100, 100))}${alpha()})`,
    () => `OKLCH(${percent(0, 100)} ${maybeNone(number(0, 0.4))} ${maybeNone(hue())}${alpha()})`,
    () => {
        const space = pick(["srgb", "srgb-linear", "display-p3", "a98-rgb", "prophoto-rgb", "rec2020",
                            "xyz", "xyz-d50", "xyz-d65"]);
        const part = () => maybeNone(random() < 0.2 ? percent(-10, 110) : number(-0.1, 1.1));
        return `color(${space} ${part()} ${part()} ${part()}${alpha()})`;
    },
];

// What colorjs.io makes of a text: 8-bit sRGB after CSS's gamut mapping, whether it lay outside sRGB, and
// whether a channel lies so near a half level that another reader might round it the other way.
function oracle(text) {
    const colour = new Color(text.trim());
    colour.coords = colour.coords.map(c => (Number.isNaN(c) ? 0 : c)); // none is 0
    const outside = !colour.inGamut("srgb", { epsilon: 0.5 / 255 });
    const mapped = colour.toGamut({ method: "css", space: "srgb" }).to("srgb");
    const onHalf = mapped.coords.some(c => Math.abs(c * 255 - Math.floor(c * 255) - 0.5) <= 1e-6);
    return { rgb: mapped.coords.map(c => Math.round(Math.min(1, Math.max(0, c)) * 255)), outside, onHalf };
}
const hexOf = rgb => "#" + rgb.map(c => c.toString(16).padStart(2, "0").toUpperCase()).join("");
const rgbOf = html => [1, 3, 5].map(i => parseInt(html.slice(i, i + 2), 16));
const apart = (a, b) => Math.max(...a.map((c, i) => Math.abs(c - b[i])));
const convert = (lines, format) =>
    execFileSync(tintwell, ["--convert", "-", "--format", format], { input: lines.join("\n") + "\n",
                                                                     maxBuffer: 1 << 26 })
        .toString().split("\n").slice(0, lines.length);

const named = [...fs.readFileSync(namesSource, "utf8").matchAll(/\{"([a-z]+)", 0x/g)].map(m => m[1]);
if (named.length !== 148) throw new Error(`${named.length} named colours found in ${namesSource}`);
const texts = [...named];
for (let i = 0; i < 4000; ++i) texts.push(spaced(syntaxes[i % syntaxes.length]()));

let failures = 0;
const fail = message => { if (++failures <= 20) console.log(`FAIL: ${message}`); };
const ours = convert(texts, "html");
const expected = texts.map(oracle);
let mappedCount = 0;
texts.forEach((text, i) => {
    if (!/^#[0-9A-F]{6}$/.test(ours[i])) return fail(`'${text}' gave '${ours[i]}'`);
    const bound = expected[i].outside ? 2 : 1;
    mappedCount += expected[i].outside;
    if (apart(rgbOf(ours[i]), expected[i].rgb) > bound)
        fail(`'${text}' gave ${ours[i]}, colorjs.io ${hexOf(expected[i].rgb)}`);
});

// Every format's text reads back in colorjs.io as exactly the colour written: those of the texts above, and a
// seeded sample of colours (a text on a half level between two colours is read as either).
const colours = [...ours];
for (let i = 0; i < 5000; ++i) colours.push(hexOf([0, 0, 0].map(() => Math.floor(random() * 256))));
const formats = ["css-rgb", "hsl", "hwb", "lab", "lch", "oklab", "oklch", "display-p3", "html", "rgb"];
// Each CSS format's space in colorjs.io and the least decimals of its numbers: a number written with more is
// checked to need them all, written again one decimal shorter from colorjs.io's own coordinates.
const shorter = { hsl: ["hsl", [0, 0, 0]], hwb: ["hwb", [0, 0, 0]], lab: ["lab", [0, 0, 0]],
                  lch: ["lch", [0, 0, 0]], oklab: ["oklab", [2, 3, 3]], oklch: ["oklch", [2, 3, 0]],
                  "display-p3": ["p3", [2, 2, 2]] };
const decimalsOf = number => (number.split(".")[1] ?? "").length;
let shortened = 0;
for (const format of formats) {
    convert(colours, format).forEach((written, i) => {
        let back;
        try { back = oracle(written).rgb; } catch (error) { return fail(`${format} wrote '${written}': ${error}`); }
        if (apart(back, rgbOf(colours[i])) > 0)
            fail(`${format} wrote '${written}' for ${colours[i]}, read back as ${hexOf(back)}`);
        if (!shorter[format]) return;
        const [space, least] = shorter[format];
        const coords = new Color(colours[i]).to(space).coords.map(c => (Number.isNaN(c) ? 0 : c));
        const numbers = [...written.matchAll(/-?[0-9.]+(?=%| |\))/g)].slice(-3);
        numbers.forEach(({ 0: number, index }, k) => {
            if (decimalsOf(number) <= least[k]) return;
            ++shortened;
            const text = written.slice(0, index) + coords[k].toFixed(decimalsOf(number) - 1) +
                         written.slice(index + number.length);
            const read = oracle(text);
            if (apart(read.rgb, rgbOf(colours[i])) === 0 && !read.outside && !read.onHalf)
                fail(`${format} wrote '${written}' for ${colours[i]}, but '${text}' reads back too`);
        });
    });
}
console.log(`${texts.length} texts (${named.length} named, ${mappedCount} outside sRGB), ${formats.length} formats,` +
            ` ${shortened} numbers written a decimal shorter: ${failures} failures`);
process.exit(failures ? 1 : 0);
