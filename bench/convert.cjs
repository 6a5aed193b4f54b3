// The other side of bench/convert.sh: writes the benchmark's colour texts (`texts COUNT`), or converts the lines
// of standard input to OKLCH with colorjs.io, gamut-mapped into sRGB as tintwell does (`convert`).
"use strict";
const [mode, count] = process.argv.slice(2);
if (mode === "texts") {
    let state = 12345;
    const random = () => ((state = (Math.imul(state, 1103515245) + 12345) >>> 0) / 4294967296);
    const lines = [];
    for (let i = 0; i < Number(count); ++i) {
        const [a, b, c] = [random(), random(), random()];
        lines.push(i % 3 === 0 ? `rgb(${Math.round(a * 255)} ${Math.round(b * 255)} ${Math.round(c * 255)})`
                   : i % 3 === 1 ? `hsl(${(a * 360).toFixed(1)} ${(b * 100).toFixed(1)}% ${(c * 100).toFixed(1)}%)`
                   : `oklch(${a.toFixed(3)} ${(b * 0.37).toFixed(3)} ${(c * 360).toFixed(1)})`);
    }
    process.stdout.write(lines.join("\n") + "\n");
} else {
    const Color = require("colorjs.io").default;
    const lines = require("fs").readFileSync(0, "utf8").split("\n").slice(0, -1);
    const out = lines.map(line => new Color(line).toGamut({ method: "css", space: "srgb" }).to("oklch").toString());
    process.stdout.write(out.join("\n") + "\n");
}
