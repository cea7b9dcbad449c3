// GNOME Shell 45 and later: ES modules and an Extension subclass.
import Clutter from 'gi://Clutter';
import GLib from 'gi://GLib';
import Gio from 'gi://Gio';
import Meta from 'gi://Meta';
import St from 'gi://St';
import * as Main from 'resource:///org/gnome/shell/ui/main.js';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

// GLib 2.80 moved the Unix streams to GioUnix (the old names later stopped working); older ones
// have them in Gio only.
const UnixOutputStream = await import('gi://GioUnix').then(m => m.default.OutputStream, () => Gio.UnixOutputStream);

