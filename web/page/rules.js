// The file rules every Glimmer program shares, from their one definition (conversion/rules.cpp)
// compiled into a small WebAssembly module that travels inside glimmer-rules.js: which files are
// CAM files, which folders are skipped, names safe to save anywhere, when two saved paths are one
// file, and digits in groups.

import GlimmerRules from "./glimmer-rules.js";

const rules = await GlimmerRules();

function call(name, result, argument) {
  return rules.ccall(name, result, [typeof argument === "number" ? "number" : "string"], [argument]);
}

export function isCamName(name) {
  return call("glimmer_is_cam_name", "number", name) !== 0;
}

export function isRecycleFolder(name) {
  return call("glimmer_is_recycle_folder", "number", name) !== 0;
}

// The output file's name for a CAM file's name, as every program names it.
export function outputName(name) {
  return call("glimmer_output_name", "string", name);
}

// A name or a folder's name as it may stand in a ZIP or a folder on any system: separators,
// drives, what Windows allows in no name and names of dots only are replaced, so that nothing
// saved lands outside the folder it belongs in. The output's own name comes from outputName;
// this only makes it safe to write anywhere.
export function portableName(name) {
  return rules.ccall("glimmer_portable_name", "string", ["string", "number"],
                     [name, rules.lengthBytesUTF8(name)]);
}

// The path with each letter in the form that stands for all its cases: two paths whose folded
// forms are equal may be one file where the user saves to, as on most people's file systems.
export function foldedName(path) {
  return call("glimmer_folded_name", "string", path);
}

// "1,234,567".
export function groupDigits(count) {
  return call("glimmer_grouped_digits", "string", count);
}
