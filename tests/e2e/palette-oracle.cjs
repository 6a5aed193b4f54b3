// Reads the palette files the program wrote with readers of their own and compares every colour, name and group
// with the expected list, lines "group|name|#RRGGBB":
//  - the .ase by a reader of this script's (ase-utils cannot read groups), and the same colour blocks without
//    the groups by ase-utils;
//  - the .css and the .json values by colorjs.io.
// Usage: node palette-oracle.cjs NODE_MODULES EXPECTED FILE.ase FILE.css FILE.json
const fs = require('fs');
const path = require('path');
const [modules, expectedFile, aseFile, cssFile, jsonFile] = process.argv.slice(2);
const ase = require(path.join(modules, 'ase-utils'));
const { default: Color } = require(path.join(modules, 'colorjs.io'));

const expected = fs.readFileSync(expectedFile, 'utf8').trim().split('\n').map(line => line.split('|'));
const groupNames = [...new Set(expected.map(([group]) => group))];
let failures = 0;
function check(what, got, want) {
    if (JSON.stringify(got) !== JSON.stringify(want)) {
        console.log(`${what}: got ${JSON.stringify(got)}, expected ${JSON.stringify(want)}`);
        failures++;
    }
}
const hex = rgb => '#' + rgb.map(c => Math.round(c * 255).toString(16).padStart(2, '0')).join('').toUpperCase();

// The grouped file, block by block.
const bytes = fs.readFileSync(aseFile);
check('ase header', [bytes.toString('latin1', 0, 4), bytes.readUInt16BE(4), bytes.readUInt16BE(6)], ['ASEF', 1, 0]);
const count = bytes.readUInt32BE(8);
let at = 12, group = null;
const read = [], colourBlocks = [];
const name = (block) => {
    const units = block.readUInt16BE(0);
    let text = '';
    for (let i = 0; i < units - 1; i++) text += String.fromCharCode(block.readUInt16BE(2 + 2 * i));
    check('name ends with a zero', block.readUInt16BE(2 * units), 0);
    return [text, 2 + 2 * units];
};
for (let i = 0; i < count; i++) {
    const type = bytes.readUInt16BE(at), length = bytes.readUInt32BE(at + 2);
    const block = bytes.subarray(at + 6, at + 6 + length);
    if (type === 0xC001) group = name(block)[0];
    else if (type === 0xC002) group = null;
    else {
        const [text, after] = name(block);
        check('model', block.toString('latin1', after, after + 4), 'RGB ');
        const rgb = [0, 1, 2].map(c => block.readFloatBE(after + 4 + 4 * c));
        check('block length', length, after + 4 + 12 + 2);
        read.push([group, text, hex(rgb)]);
        colourBlocks.push(bytes.subarray(at, at + 6 + length));
    }
    at += 6 + length;
}
check('ase ends after its blocks', at, bytes.length);
check('ase colours', read, expected);

// The colour blocks alone, as a file without groups, by ase-utils.
const header = Buffer.alloc(12);
header.write('ASEF', 0, 'latin1');
header.writeUInt16BE(1, 4);
header.writeUInt32BE(colourBlocks.length, 8);
const decoded = ase.decode(Buffer.concat([header, ...colourBlocks]));
check('ase-utils', decoded.colors.map(c => [c.name, c.model, hex(c.color)]),
      expected.map(([, name, colour]) => [name, 'RGB', colour]));

// CSS: --slot-1 and the like, in the groups' order.
const prefixes = { 'Slots': 'slot', 'Custom colors': 'custom', 'Recent colors': 'recent' };
const css = fs.readFileSync(cssFile, 'utf8');
const properties = [...css.matchAll(/--([a-z]+)-(\d+):\s*([^;]+);/g)];
check('css', properties.map(([, key, n, value]) => [key, n, new Color(value).to('srgb').toString({ format: 'hex' })]),
      expected.map(([group, name, colour], i) =>
          [prefixes[group], name.replace(/.* /, ''), colour.toLowerCase()]));

// Design tokens: every token's hex and components give the same colour.
const tokens = JSON.parse(fs.readFileSync(jsonFile, 'utf8'));
const fromTokens = [];
for (const [key, group] of Object.entries({ slots: 'Slots', custom: 'Custom colors', recent: 'Recent colors' }))
    for (const [tokenName, token] of Object.entries(tokens[key]).filter(([k]) => !k.startsWith('$'))) {
        const value = token.$value;
        const fromComponents = new Color('srgb', value.components).toString({ format: 'hex', collapse: false });
        check(`${tokenName} components and hex`, fromComponents, value.hex);
        fromTokens.push([group, token.$description, new Color(value.hex).toString({ format: 'hex', collapse: false }).toUpperCase()]);
    }
check('json', fromTokens, expected);
check('groups', groupNames, ['Slots', 'Custom colors', 'Recent colors']);
process.exit(failures ? 1 : 0);
