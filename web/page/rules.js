// The file rules every Glimmer program shares, from their one definition (conversion/rules.cpp)
// compiled into a small WebAssembly module that travels inside glimmer-rules.js: which files are
// CAM files, which folders are skipped, when two saved paths are one file, and digits in groups.

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

// The path with each letter in the form that stands for all its cases: two paths whose folded
// forms are equal may be one file where the user saves to, as on most people's file systems.
export function foldedName(path) {
  return call("glimmer_folded_name", "string", path);
}

// "1,234,567".
export function groupDigits(count) {
  return call("glimmer_grouped_digits", "string", count);
}
