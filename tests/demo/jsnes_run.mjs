// Runs a cartridge image in the jsnes emulator without a screen, following
// a script, and writes the frames it is asked for as NES colour indices.
//
// usage: node jsnes_run.mjs JSNES_PREFIX IMAGE SCRIPT OUT
//   JSNES_PREFIX  folder that holds node_modules/jsnes (npm install --prefix)
//   SCRIPT        one command a line:
//                   frames N     run N frames
//                   press NAME   hold a button of controller 1 (Right, Left,
//                   release NAME Down, Up, A, B, Select, Start) / let it go
//                   grab         append the last frame to OUT
//   OUT           256 x 240 bytes per grabbed frame, row by row: the NES
//                 colour index (0-63) of each pixel
//
// jsnes turns colour indices into RGB through its palette table, in which
// several indices share one value (its blacks). Before the image starts, the
// entries that repeat an earlier one are moved to values of their own, so
// that every RGB value of a frame names exactly one index.
import { readFileSync, writeFileSync, appendFileSync } from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

const [prefix, imagePath, scriptPath, outPath] = process.argv.slice(2);
if (!outPath) {
  console.error("usage: node jsnes_run.mjs JSNES_PREFIX IMAGE SCRIPT OUT");
  process.exit(2);
}
// The package's module entry, as its package.json names it.
const packageDir = path.join(path.resolve(prefix), "node_modules", "jsnes");
const manifest = JSON.parse(readFileSync(path.join(packageDir, "package.json"), "utf8"));
const entry = manifest.exports?.["."]?.import ?? manifest.module ?? manifest.main;
const jsnes = await import(pathToFileURL(path.join(packageDir, entry)).href);

const Width = 256;
const Height = 240;
const MaxFrames = 100000;

let last = null;
const nes = new jsnes.NES({
  emulateSound: false,
  onFrame: (buffer) => {
    last = buffer;
  },
});
// A binary string, one character per byte, is what jsnes takes.
nes.loadROM(readFileSync(imagePath).toString("latin1"));
// The whole picture: jsnes blacks out the 8 pixels at each edge by default,
// as a television hides them.
nes.ppu.clipToTvSize = false;

// One RGB value for each index.
const table = nes.ppu.palTable;
const own = Array.from(table.curTable);
const taken = new Set();
const unique = own.map((rgb) => {
  if (!taken.has(rgb)) {
    taken.add(rgb);
    return rgb;
  }
  return -1;
});
let shared = 0;
for (let i = 0; i < unique.length; i++) {
  if (unique[i] !== -1) continue;
  let rgb = own[i];
  while (taken.has(rgb)) rgb = (rgb + 0x010101) & 0xffffff;
  taken.add(rgb);
  unique[i] = rgb;
  shared++;
}
table.curTable = Uint32Array.from(unique);
table.makeTables();
table.currentEmph = -1;
table.setEmphasis(0);
nes.ppu.updatePalettes();
const indexOf = new Map(unique.map((rgb, i) => [rgb, i]));

const buttons = {
  Right: jsnes.Controller.BUTTON_RIGHT,
  Left: jsnes.Controller.BUTTON_LEFT,
  Down: jsnes.Controller.BUTTON_DOWN,
  Up: jsnes.Controller.BUTTON_UP,
  A: jsnes.Controller.BUTTON_A,
  B: jsnes.Controller.BUTTON_B,
  Select: jsnes.Controller.BUTTON_SELECT,
  Start: jsnes.Controller.BUTTON_START,
};

writeFileSync(outPath, Buffer.alloc(0));
let frames = 0;
let grabbed = 0;
const lines = readFileSync(scriptPath, "utf8").split("\n");
for (const [n, line] of lines.entries()) {
  const words = line.trim().split(/\s+/).filter((w) => w.length > 0);
  if (words.length === 0) continue;
  const fail = (why) => {
    console.error(`${scriptPath}:${n + 1}: ${why}`);
    process.exit(2);
  };
  const [command, arg] = words;
  if (command === "frames") {
    const count = Number(arg);
    if (!Number.isInteger(count) || count < 0 || frames + count > MaxFrames)
      fail(`bad frame count ${arg}`);
    for (let i = 0; i < count; i++) nes.frame();
    frames += count;
  } else if (command === "press" || command === "release") {
    if (!(arg in buttons)) fail(`unknown button ${arg}`);
    if (command === "press") nes.buttonDown(1, buttons[arg]);
    else nes.buttonUp(1, buttons[arg]);
  } else if (command === "grab") {
    if (last === null) fail("no frame yet");
    const out = Buffer.alloc(Width * Height);
    for (let i = 0; i < Width * Height; i++) {
      const index = indexOf.get(last[i] & 0xffffff);
      out[i] = index === undefined ? 0xff : index;
    }
    appendFileSync(outPath, out);
    grabbed++;
  } else {
    fail(`unknown command ${command}`);
  }
}
console.log(`frames ${frames} grabbed ${grabbed} shared-colour-entries ${shared}`);
