
export default class PagewickExtension extends Extension {
    enable() {
        this._service = new PagewickService(this.path);
        this._service.enable();
    }

    disable() {
        this._service.disable();
        this._service = null;
    }
}
