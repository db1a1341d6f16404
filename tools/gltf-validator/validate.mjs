// Runs the Khronos glTF validator on .glb and .gltf files (or on every such file in
// the folders named) and prints one line per file with its counts of errors,
// warnings, infos and hints, and every error and warning in full.
// Exits 0 only when every file has no error and no warning; 1 otherwise; 2 when
// the validator is not installed or no file was found.
//   node tools/gltf-validator/validate.mjs FILE_OR_FOLDER...
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
let validator;
try {
  validator = require('gltf-validator');
} catch (e) {
  console.error('The glTF validator is not installed: run scripts/ensure-deps.sh ' +
                '(or scripts/ensure-gltf-validator.sh) first.');
  process.exit(2);
}

function collect(target, out) {
  const stat = fs.statSync(target);
  if (stat.isDirectory()) {
    for (const name of fs.readdirSync(target).sort()) collect(path.join(target, name), out);
  } else if (/\.(glb|gltf)$/i.test(target)) {
    out.push(target);
  }
}

const files = [];
for (const target of process.argv.slice(2)) collect(target, files);
if (files.length === 0) {
  console.error('No .glb or .gltf file to validate in: ' + process.argv.slice(2).join(' '));
  process.exit(2);
}

let failed = false;
for (const file of files) {
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 0,
    writeTimestamp: false,
    externalResourceFunction: (uri) =>
      fs.promises.readFile(path.resolve(path.dirname(file), decodeURIComponent(uri))).then((d) => new Uint8Array(d)),
  });
  const issues = report.issues;
  console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
              `${issues.numInfos} infos, ${issues.numHints} hints`);
  for (const m of issues.messages) {
    if (m.severity <= 1) console.log(`  ${m.severity === 0 ? 'error' : 'warning'} ${m.code} at ${m.pointer ?? ''}: ${m.message}`);
  }
  if (issues.numErrors > 0 || issues.numWarnings > 0) failed = true;
}
process.exit(failed ? 1 : 0);
