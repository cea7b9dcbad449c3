// GNOME Shell 43 and 44: the shell's legacy imports and an init() entry point.
const {Clutter, GLib, Gio, Meta, St} = imports.gi;
const Main = imports.ui.main;

const UnixOutputStream = Gio.UnixOutputStream;
