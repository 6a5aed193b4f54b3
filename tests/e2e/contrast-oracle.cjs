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

// Truncated to two decimals: 4.4999 is 4.49, and fails AA.
for (const [colour, shown] of [['#006FFB', '4.49:1'], ['#777777', '4.47:1'], ['#767676', '4.54:1'],
                               ['#959595', '2.99:1'], ['#949494', '3.03:1'], ['#595959', '7.00:1'],
                               ['#5A5A5A', '6.89:1']]) {
    const first = execFileSync(program, ['--contrast', colour, 'white']).toString().split('\n')[0];
    const expected = Math.floor(wcagContrast(colour, 'white') * 100 + 1e-9) / 100;
    if (first !== shown || first !== expected.toFixed(2) + ':1') {
        console.log(`${colour} on white shown ${first}; culori truncated ${expected.toFixed(2)}, expected ${shown}`);
        failures++;
    }
}
console.log(`${pairs.length} pairs: ${failures} differences`);
process.exit(failures ? 1 : 0);
