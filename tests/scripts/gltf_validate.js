// Checks glTF and GLB files with the Khronos glTF validator (the npm package
// gltf-validator, installed by scripts/gltf-validator.sh). Prints each file's
// issue counts and its errors and warnings (the same code and message said
// once, with how often it came); exits 1 when a file has an error or an
// image the validator does not recognise, 2 on a usage error.
// usage: node gltf_validate.js VALIDATOR_FOLDER FILE...
'use strict';
const fs = require('fs');
const path = require('path');

const [folder, ...files] = process.argv.slice(2);
if (!folder || files.length === 0) {
    console.error('usage: node gltf_validate.js VALIDATOR_FOLDER FILE...');
    process.exit(2);
}
const validator = require(path.resolve(folder, 'node_modules', 'gltf-validator'));
const kSeverity = ['error', 'warning', 'info', 'hint'];

// The files a glTF names (buffers, images), beside it.
function resource(file) {
    return (uri) => new Promise((resolve, reject) => {
        const target = path.resolve(path.dirname(file), decodeURIComponent(uri));
        fs.readFile(target, (error, data) => error ? reject(error.toString()) : resolve(data));
    });
}

async function check(file) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
        uri: path.basename(file),
        maxIssues: 0, // all of them
        externalResourceFunction: resource(file),
    });
    const issues = report.issues;
    const unrecognised = issues.messages.filter((m) => m.code === 'IMAGE_UNRECOGNIZED_FORMAT');
    console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
                `${issues.numInfos} infos, ${issues.numHints} hints; ` +
                `${unrecognised.length} IMAGE_UNRECOGNIZED_FORMAT`);
    const said = new Map();
    for (const m of issues.messages.filter((m) => m.severity <= 1)) {
        const text = `  ${kSeverity[m.severity]} ${m.code}: ${m.message}`;
        said.set(text, (said.get(text) || 0) + 1);
    }
    for (const [text, count] of said) {
        console.log(count > 1 ? `${text} (${count} times)` : text);
    }
    return issues.numErrors === 0 && unrecognised.length === 0;
}

(async () => {
    let ok = true;
    for (const file of files) {
        try {
            ok = (await check(file)) && ok;
        } catch (error) {
            console.log(`${file}: the validator cannot read it: ${error}`);
            ok = false;
        }
    }
    process.exit(ok ? 0 : 1);
})();
