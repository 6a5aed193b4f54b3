// The program's WCAG 2 contrast against culori's wcagContrast, which uses WCAG's own formula: the unrounded
// ratio within 1e-9 and every verdict the same, for seeded random pairs and for the grey and primary ramps
// against white and black; and `tintwell --contrast` prints the ratio truncated, never rounded up.
// Usage: node contrast-oracle.cjs CONTRAST_TABLE TINTWELL
const { execFileSync } = require('child_process');
const { wcagContrast } = require('culori');
const [table, program] = process.argv.slice(2);

let seed = 35;
const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;
const hex = n => n.toString(16).padStart(6, '0').toUpperCase();
const pairs = [];
for (let i = 0; i < 5000; i++) pairs.push([hex(Math.floor(random() * 0x1000000)), hex(Math.floor(random() * 0x1000000))]);
for (let v = 0; v < 256; v++)
    for (const ramp of [v * 0x010101, v << 16, v << 8, v])
        for (const background of ['FFFFFF', '000000']) pairs.push([hex(ramp), background]);

const ours = execFileSync(table, { input: pairs.map(p => p.join(' ')).join('\n') + '\n' }).toString().trim().split('\n');
let failures = 0;
pairs.forEach(([front, back], i) => {
    const theirs = wcagContrast('#' + front, '#' + back), mine = Number(ours[i]);
    const verdicts = ratio => [4.5, 3, 7].map(t => ratio >= t).join();
    if (Math.abs(theirs - mine) > 1e-9 || verdicts(theirs) !== verdicts(mine)) {
        if (failures++ < 10) console.log(`#${front} on #${back}: ${mine}, culori ${theirs}`);
    }
});

// The ratio truncated to two decimals, exactly: the double's own binary value times 100, floored in integers.
const hundredths = x => {
    const bits = new DataView(new ArrayBuffer(8));
    bits.setFloat64(0, x);
    const word = bits.getBigUint64(0), exponent = Number((word >> 52n) & 0x7FFn) - 1075;
    const mantissa = (word & 0xFFFFFFFFFFFFFn) | 0x10000000000000n;
    return exponent >= 0 ? mantissa * 100n << BigInt(exponent) : (mantissa * 100n) >> BigInt(-exponent);
};
const shownAs = x => { const h = hundredths(x); return `${h / 100n}.${String(h % 100n).padStart(2, '0')}:1`; };

// Truncated, never rounded up: 4.4999 is 4.49 and fails AA; the first rows lie within 1e-11 below a threshold.
for (const [front, back, shown] of [['#2671E5', '#060201', '4.49:1'], ['#1C5F98', '#190102', '2.99:1'],
                                    ['#6AAE58', '#05102B', '6.99:1'], ['#006FFB', 'white', '4.49:1'],
                                    ['#777777', 'white', '4.47:1'], ['#767676', 'white', '4.54:1'],
                                    ['#959595', 'white', '2.99:1'], ['#949494', 'white', '3.03:1'],
                                    ['#595959', 'white', '7.00:1'], ['#5A5A5A', 'white', '6.89:1']]) {
    const lines = execFileSync(program, ['--contrast', front, back]).toString().split('\n');
    const expected = shownAs(wcagContrast(front, back));
    const verdict = lines.find(line => line.startsWith('AA normal text:'));
    if (lines[0] !== shown || lines[0] !== expected || (parseFloat(lines[0]) >= 4.5) !== verdict.includes(': pass')) {
        console.log(`${front} on ${back} shown ${lines[0]} (${verdict}); culori truncated ${expected}, expected ${shown}`);
        failures++;
    }
}
console.log(`${pairs.length} pairs: ${failures} differences`);
process.exit(failures ? 1 : 0);
