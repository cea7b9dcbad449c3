#!/usr/bin/env bash
# Both forms of the GNOME Shell extension load under gjs outside the shell, the shell's own
# modules stubbed: their syntax, their imports through GObject introspection, the entry point each
# form offers, and the callers file read. Inside a shell the GNOME end-to-end tests run the form
# the build installs, which that shell takes.
# Usage: shellextension_forms.sh <build>/dist/gnome-shell
set -euo pipefail
built=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Mutter's typelibs sit in a folder named after its API version, which each GNOME release raises.
mutter=$(ls -d /usr/lib/*/mutter-* | sort -V | tail -n 1)
libs=$mutter:/usr/lib/gnome-shell
export GI_TYPELIB_PATH=$libs LD_LIBRARY_PATH=$libs
printf '/usr/lib/pagewick/pagewick\n\n  /opt/other  \n' > "$work/callers"
expected='["/usr/lib/pagewick/pagewick","/opt/other"]'
# The service's checks, given the service and the shell's error where there is one.
checks="
  const got = JSON.stringify(service._callers);
  if (got !== '$expected') throw new Error('callers read as ' + got);
  if (typeof service.enable !== 'function' || typeof service.disable !== 'function')
    throw new Error('no enable() and disable()');
  for (const method of ['ListWindows', 'FocusedWindow', 'Activate', 'SendKeys', 'ClipboardHasText', 'ReadClipboard', 'SetClipboard', 'KeepAbove'])
    if (typeof service[method + 'Async'] !== 'function') throw new Error('no ' + method);"

# GNOME 43 and 44: imports.ui.main from the search path; init(meta) gives the service.
mkdir -p "$work/legacy/ui"
cp "$built/legacy/pagewick@kelvarin.org/extension.js" "$work/legacy/"
: > "$work/legacy/ui/main.js"
gjs -c "imports.searchPath.unshift('$work/legacy');
  const service = imports.extension.init({path: '$work'});
  $checks
  print('the legacy form loads');"

# GNOME 45 on: an Extension subclass as the module's default export, which makes the service on
# enable(); outside the shell that stops where the shell's `global` is first needed.
mkdir -p "$work/modules"
sed -e 's|resource:///org/gnome/shell/ui/main.js|./main.js|' \
    -e 's|resource:///org/gnome/shell/extensions/extension.js|./base.js|' \
    "$built/modules/pagewick@kelvarin.org/extension.js" > "$work/modules/extension.js"
echo 'export {};' > "$work/modules/main.js"
echo 'export class Extension { constructor(meta) { this.path = meta.path; } }' > "$work/modules/base.js"
cat > "$work/modules/check.js" <<JS
import {Extension} from './base.js';
import PagewickExtension from './extension.js';
const extension = new PagewickExtension({path: '$work'});
if (!(extension instanceof Extension)) throw new Error('not an Extension');
try {
  extension.enable();
} catch (e) {
  if (!(e instanceof ReferenceError) || !String(e.message).includes('global')) throw e;
}
const service = extension._service;
$checks
print('the modules form loads');
JS
gjs -m "$work/modules/check.js"
