#include "app/device/hid_api.h"

namespace tavik {

HidApi RealHidApi() {
    HidApi api;
    api.init = hid_init;
    api.exit = hid_exit;
    api.enumerate = hid_enumerate;
    api.freeEnumeration = hid_free_enumeration;
    api.openPath = hid_open_path;
    api.write = hid_write;
    api.readTimeout = hid_read_timeout;
    api.getProductString = hid_get_product_string;
    api.getDeviceInfo = hid_get_device_info;
    api.close = hid_close;
    return api;
}

}  // namespace tavik
