
function init(meta) {
    return new PagewickService(meta.path);
}
