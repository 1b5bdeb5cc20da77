#!/usr/bin/env node
// Usage: node validate.js FILE.glb
// Runs the Khronos glTF validator on FILE and prints its findings. Exit status 0 when it reports
// no error and no warning, 1 when it does, 2 when the file cannot be read.
'use strict';
const fs = require('fs');
const validator = require('gltf-validator');

const file = process.argv[2];
if (!file) {
  console.error('usage: node validate.js FILE.glb');
  process.exit(2);
}
let data;
try {
  data = new Uint8Array(fs.readFileSync(file));
} catch (error) {
  console.error(`${file}: ${error.message}`);
  process.exit(2);
}
validator.validateBytes(data, {maxIssues: 100}).then((report) => {
  const issues = report.issues;
  for (const message of issues.messages) {
    console.log(`${['error', 'warning', 'info', 'hint'][message.severity]}: ${message.code} at ${message.pointer || message.offset}: ${message.message}`);
  }
  console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos, ${issues.numHints} hints`);
  process.exit(issues.numErrors === 0 && issues.numWarnings === 0 ? 0 : 1);
}, (error) => {
  console.error(`${file}: ${error}`);
  process.exit(1);
});
