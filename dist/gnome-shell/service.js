// Pagewick's window service inside GNOME Shell, on the session bus. GNOME gives ordinary programs
// no way to list, activate or type into windows, so Pagewick's GNOME backend calls this instead.
// Only the programs named in the `callers` file beside this one (Pagewick's installed binary)
// are answered.
//
// This body is shared by the shell's two extension forms; the build adds the imports and the
// entry point each form needs (Gio, GLib, Meta, Clutter, St, Main and UnixOutputStream come from
// there).

const BUS_NAME = 'org.kelvarin.Pagewick.Shell';
const OBJECT_PATH = '/org/kelvarin/Pagewick/Shell';
const INTERFACE = `<node>
  <interface name="org.kelvarin.Pagewick.Shell1">
    <!-- Top-level windows, topmost first: id, title, whether a normal window, process id. -->
    <method name="ListWindows"><arg type="a(tsbu)" direction="out" name="windows"/></method>
    <!-- The window that keys go to: 0 when none has the focus, or while the shell takes them
         itself (its overview, even while it closes, a menu or a dialog). -->
    <method name="FocusedWindow"><arg type="t" direction="out" name="id"/></method>
    <!-- Restores the window when minimised and activates it with a fresh timestamp. -->
    <method name="Activate"><arg type="t" direction="in" name="id"/></method>
    <!-- Key presses and releases as evdev key codes, read with the user's layout. -->
    <method name="SendKeys">
      <arg type="au" direction="in" name="codes"/><arg type="ab" direction="in" name="pressed"/>
    </method>
    <!-- Whether the clipboard offers text now; false while its owner is known not to answer. -->
    <method name="ClipboardHasText"><arg type="b" direction="out" name="hasText"/></method>
    <!-- Writes the clipboard's text as UTF-8 into the pipe given and closes it; false, the pipe
         closed at once, when it holds none. A pipe, because the bus copies a large text slowly. -->
    <method name="ReadClipboard">
      <arg type="h" direction="in" name="pipe"/><arg type="b" direction="out" name="hasText"/>
    </method>
    <method name="SetClipboard"><arg type="ay" direction="in" name="text"/></method>
    <!-- Keeps the caller's own windows above the others. -->
    <method name="KeepAbove"/>
  </interface>
</node>`;
const ERROR = 'org.kelvarin.Pagewick.Shell1';
// A program that holds the clipboard and sends nothing for this long does not answer; it costs one
// wait. A busy browser on a loaded machine takes well over half a second.
const CLIPBOARD_WAIT_MS = 2000;
// Text in UTF-8, as X11 and Wayland programs offer it; the text goes out as the owner's bytes.
const TEXT_TYPES = ['text/plain;charset=utf-8', 'UTF8_STRING', 'text/plain'];

class PagewickService {
    constructor(folder) {
        this._callers = this._readCallers(`${folder}/callers`);
        // Callers let in, by unique bus name, which the bus never gives to another connection.
        this._admitted = new Map();
    }

    enable() {
        // A clipboard owner that did not answer is not asked again until the clipboard changes.
        this._silent = false;
        this._selection = global.display.get_selection();
        // Nor is our own empty text, which clearing leaves, text to wait for.
        this._cleared = false;
        this._ownerChanged = this._selection.connect('owner-changed', (selection, type) => {
            if (type === Meta.SelectionType.SELECTION_CLIPBOARD)
                this._silent = this._cleared = false;
        });
        // Newer shells reach the backend through the stage's context and have dropped the global
        // getter (GNOME 51 has none); older ones lack the context.
        const backend = global.stage.context?.get_backend() ?? Clutter.get_default_backend();
        const seat = backend.get_default_seat();
        this._keyboard = seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
        this._object = Gio.DBusExportedObject.wrapJSObject(INTERFACE, this);
        this._object.export(Gio.DBus.session, OBJECT_PATH);
        this._name = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
    }

    disable() {
        this._selection.disconnect(this._ownerChanged);
        Gio.bus_unown_name(this._name);
        this._object.unexport();
        this._object = null;
        this._keyboard = null;
    }

    _readCallers(path) {
        try {
            const [, bytes] = GLib.file_get_contents(path);
            return new TextDecoder().decode(bytes).split('\n').map(line => line.trim()).filter(line => line);
        } catch (e) {
            return [];
        }
    }

    // The caller's process id when it is one of ours; else the call is answered with an error.
    _admit(invocation) {
        const known = this._admitted.get(invocation.get_sender());
        if (known)
            return known;
        const reply = Gio.DBus.session.call_sync('org.freedesktop.DBus', '/org/freedesktop/DBus',
            'org.freedesktop.DBus', 'GetConnectionUnixProcessID',
            new GLib.Variant('(s)', [invocation.get_sender()]), new GLib.VariantType('(u)'),
            Gio.DBusCallFlags.NONE, -1, null);
        const [pid] = reply.deepUnpack();
        let program = '';
        try {
            program = GLib.file_read_link(`/proc/${pid}/exe`);
        } catch (e) {
        }
        if (this._callers.includes(program)) {
            this._admitted.set(invocation.get_sender(), pid);
            return pid;
        }
        invocation.return_dbus_error(`${ERROR}.AccessDenied`,
            `Only Pagewick's installed program may use this service, not ${program || `process ${pid}`}.`);
        return 0;
    }

    _windows() {
        const windows = global.get_window_actors().map(actor => actor.meta_window);
        return global.display.sort_windows_by_stacking(windows).reverse();
    }

    _window(id) {
        return this._windows().find(w => w.get_id() === id) ?? null;
    }

    ListWindowsAsync(params, invocation) {
        if (!this._admit(invocation))
            return;
        const list = this._windows().map(w => [w.get_id(), w.get_title() ?? '',
            w.get_window_type() === Meta.WindowType.NORMAL && !w.is_skip_taskbar(), w.get_pid()]);
        invocation.return_value(new GLib.Variant('(a(tsbu))', [list]));
    }

    FocusedWindowAsync(params, invocation) {
        if (!this._admit(invocation))
            return;
        // The focus moves to the window at once, but keys reach it only once the shell lets go.
        const focused = global.stage.get_grab_actor() ? null : global.display.focus_window;
        invocation.return_value(new GLib.Variant('(t)', [focused ? focused.get_id() : 0]));
    }

    ActivateAsync([id], invocation) {
        if (!this._admit(invocation))
            return;
        const window = this._window(id);
        if (!window) {
            invocation.return_dbus_error(`${ERROR}.NoWindow`, `There is no window ${id}.`);
            return;
        }
        if (window.minimized)
            window.unminimize();
        // Focus-stealing prevention refuses a stale time; a round trip gives a fresh one.
        Main.activateWindow(window, global.display.get_current_time_roundtrip());
        invocation.return_value(null);
    }

    SendKeysAsync([codes, pressed], invocation) {
        if (!this._admit(invocation))
            return;
        // Keys go to the actor that holds the stage's key focus, if one does, not to the window.
        // GNOME 51 leaves that focus on the overview's controls after the overview has closed;
        // with no grab (FocusedWindow has confirmed none), such a focus is stale.
        if (!global.stage.get_grab_actor() && global.stage.get_key_focus())
            global.stage.set_key_focus(null);
        codes.forEach((code, i) => {
            this._keyboard.notify_key(GLib.get_monotonic_time(), code,
                pressed[i] ? Clutter.KeyState.PRESSED : Clutter.KeyState.RELEASED);
        });
        invocation.return_value(null);
    }

    _textType() {
        const offered = this._selection.get_mimetypes(Meta.SelectionType.SELECTION_CLIPBOARD);
        return TEXT_TYPES.find(t => offered.includes(t));
    }

    ClipboardHasTextAsync(params, invocation) {
        if (!this._admit(invocation))
            return;
        invocation.return_value(new GLib.Variant('(b)', [!this._silent && !this._cleared && this._textType() !== undefined]));
    }

    ReadClipboardAsync([pipe], invocation) {
        // The pipe is ours to close, whatever the answer. Taken out of the message, or the message
        // would keep it open until collected, and the caller would wait for its end until then.
        const fds = invocation.get_message().get_unix_fd_list().steal_fds();
        const out = new UnixOutputStream({fd: fds[pipe], close_fd: true});
        const reply = hasText => invocation.return_value(new GLib.Variant('(b)', [hasText]));
        if (!this._admit(invocation))
            return out.close(null);
        const type = this._textType();
        if (!type || this._cleared) {
            out.close(null);
            return reply(false);
        }
        const busy = () => {
            out.close(null);
            invocation.return_dbus_error(`${ERROR}.Busy`, 'The program that holds the clipboard does not answer.');
        };
        if (this._silent)
            return busy();
        // A large text may take long to come; an owner that sends nothing for a while is silent.
        // Cancelling does not end every transfer at once, so the answer goes out here.
        const stream = Gio.MemoryOutputStream.new_resizable();
        const cancellable = new Gio.Cancellable();
        let received = 0;
        const watch = GLib.timeout_add(GLib.PRIORITY_DEFAULT, CLIPBOARD_WAIT_MS, () => {
            if (stream.get_data_size() > received) {
                received = stream.get_data_size();
                return GLib.SOURCE_CONTINUE;
            }
            this._silent = true;
            cancellable.cancel();
            busy();
            return GLib.SOURCE_REMOVE;
        });
        this._selection.transfer_async(Meta.SelectionType.SELECTION_CLIPBOARD, type, -1, stream, cancellable,
            (selection, result) => {
                if (cancellable.is_cancelled())
                    return;
                GLib.source_remove(watch);
                try {
                    selection.transfer_finish(result);
                    stream.close(null);
                } catch (e) {
                    // The owner went away meanwhile and left no text.
                    out.close(null);
                    reply(false);
                    return;
                }
                reply(true);
                // The caller reads while the shell writes, as much as the pipe takes at a time (a
                // splice goes 8 KB at a time and took as long as the transfer itself).
                const write = bytes => out.write_bytes_async(bytes, GLib.PRIORITY_DEFAULT, null, (target, written) => {
                    let n = -1;
                    try {
                        n = target.write_bytes_finish(written);
                    } catch (e) {
                        // The caller stopped reading.
                    }
                    if (n >= 0 && n < bytes.get_size())
                        write(bytes.new_from_bytes(n, bytes.get_size() - n));
                    else
                        target.close(null);
                });
                const text = stream.steal_as_bytes();
                if (text.get_size() > 0)
                    write(text);
                else
                    out.close(null);
            });
    }

    SetClipboardAsync([text], invocation) {
        if (!this._admit(invocation))
            return;
        const decoded = new TextDecoder().decode(text);
        St.Clipboard.get_default().set_text(St.ClipboardType.CLIPBOARD, decoded);
        this._cleared = decoded === '';  // after the owner change it caused
        invocation.return_value(null);
    }

    KeepAboveAsync(params, invocation) {
        const pid = this._admit(invocation);
        if (!pid)
            return;
        for (const window of this._windows().filter(w => w.get_pid() === pid))
            window.make_above();
        invocation.return_value(null);
    }
}
