// The libudev calls libdvbv5 makes to find a frontend, answered from the fake DVB devices:
// each registered /dev/dvb/adapterA/frontendF is a "dvb" device dvbA.frontendF on a PCI bus.
// Monitoring (device hot-plug) is not modelled: libdvbv5 does not ask for it when opening.
#include "tests/dvbtuner/fake_dvb_device.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using vintorel::test::FakeDvb;

struct udev {
    int unused = 0;
};
struct udev_list_entry {
    std::string name;
    udev_list_entry *next = nullptr;
};
struct udev_enumerate {
    std::vector<std::unique_ptr<udev_list_entry>> entries;
};
struct udev_device {
    std::string subsystem;
    std::string sysname;
    std::string devnode;
    std::string type;
    std::unique_ptr<udev_device> parent;
};
struct udev_monitor;

namespace {

constexpr const char *kSysRoot = "/sys/devices/pci0000:00/0000:00:1f.0/dvb/";

} // namespace

extern "C" {

udev *udev_new(void) {
    return new udev;
}
udev *udev_unref(udev *u) {
    delete u;
    return nullptr;
}

udev_enumerate *udev_enumerate_new(udev *) {
    return new udev_enumerate;
}
udev_enumerate *udev_enumerate_unref(udev_enumerate *e) {
    delete e;
    return nullptr;
}
int udev_enumerate_add_match_subsystem(udev_enumerate *, const char *) {
    return 0;
}
int udev_enumerate_scan_devices(udev_enumerate *e) {
    e->entries.clear();
    for (const auto &[path, device] : FakeDvb::instance().devices()) {
        int adapter = 0;
        int frontend = 0;
        if (std::sscanf(path.c_str(), "/dev/dvb/adapter%d/frontend%d", &adapter, &frontend) != 2) {
            continue;
        }
        auto entry = std::make_unique<udev_list_entry>();
        entry->name = std::string(kSysRoot) + "dvb" + std::to_string(adapter) + ".frontend" +
                      std::to_string(frontend);
        if (!e->entries.empty()) {
            e->entries.back()->next = entry.get();
        }
        e->entries.push_back(std::move(entry));
    }
    return 0;
}
udev_list_entry *udev_enumerate_get_list_entry(udev_enumerate *e) {
    return e->entries.empty() ? nullptr : e->entries.front().get();
}
udev_list_entry *udev_list_entry_get_next(udev_list_entry *entry) {
    return entry->next;
}
const char *udev_list_entry_get_name(udev_list_entry *entry) {
    return entry->name.c_str();
}

udev_device *udev_device_new_from_syspath(udev *, const char *syspath) {
    int adapter = 0;
    int frontend = 0;
    const std::string prefix = std::string(kSysRoot) + "dvb%d.frontend%d";
    if (syspath == nullptr || std::sscanf(syspath, prefix.c_str(), &adapter, &frontend) != 2) {
        return nullptr;
    }
    auto device = std::make_unique<udev_device>();
    device->subsystem = "dvb";
    device->sysname = "dvb" + std::to_string(adapter) + ".frontend" + std::to_string(frontend);
    device->devnode =
        "/dev/dvb/adapter" + std::to_string(adapter) + "/frontend" + std::to_string(frontend);
    device->type = "frontend";
    device->parent = std::make_unique<udev_device>();
    device->parent->subsystem = "pci";
    device->parent->sysname = "0000:00:1f.0";
    return device.release();
}
udev_device *udev_device_unref(udev_device *device) {
    delete device;
    return nullptr;
}
const char *udev_device_get_devnode(udev_device *device) {
    return device->devnode.empty() ? nullptr : device->devnode.c_str();
}
const char *udev_device_get_sysname(udev_device *device) {
    return device->sysname.c_str();
}
const char *udev_device_get_subsystem(udev_device *device) {
    return device->subsystem.c_str();
}
const char *udev_device_get_action(udev_device *) {
    return "add";
}
udev_device *udev_device_get_parent(udev_device *device) {
    return device->parent.get();
}
const char *udev_device_get_property_value(udev_device *device, const char *key) {
    if (key != nullptr && std::string(key) == "DVB_DEVICE_TYPE" && !device->type.empty()) {
        return device->type.c_str();
    }
    return nullptr;
}
const char *udev_device_get_sysattr_value(udev_device *, const char *) {
    return nullptr;
}

udev_monitor *udev_monitor_new_from_netlink(udev *, const char *) {
    return nullptr;
}
int udev_monitor_filter_add_match_subsystem_devtype(udev_monitor *, const char *, const char *) {
    return -1;
}
int udev_monitor_enable_receiving(udev_monitor *) {
    return -1;
}
int udev_monitor_get_fd(udev_monitor *) {
    return -1;
}
udev_device *udev_monitor_receive_device(udev_monitor *) {
    return nullptr;
}

} // extern "C"
