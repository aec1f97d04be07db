// A libudev stand-in that shows chosen devices (typically pseudo-terminals) as USB serial adapters.
//
// Qt's serial port module lists ports through libudev: it enumerates the "tty" subsystem, opens each
// entry with udev_device_new_from_syspath(), takes the port name from udev_device_get_sysname(), the
// system location from udev_device_get_devnode(), skips devices without a parent device, and reads the
// properties ID_VENDOR_ID, ID_MODEL_ID (hexadecimal), ID_MODEL (description), ID_VENDOR (manufacturer)
// and ID_SERIAL_SHORT. This library answers those calls from one environment variable instead of the
// system, so a test (or a demonstration) sees exactly the ports it configured and nothing else.
//
// Configuration: the environment variable VINDAL_FAKE_UDEV_PORTS, read anew every time an enumeration
// is scanned (udev_enumerate_scan_devices) and every time a device is looked up by its sys path, so a
// process may create its pseudo-terminals first and set the variable afterwards (qputenv/setenv).
//
//     VINDAL_FAKE_UDEV_PORTS="<entry>;<entry>;..."
//     <entry> = <device>[=<vid>[:<pid>[:<model>[:<vendor>[:<serial>]]]]]
//
//   <device>  absolute path of the device node, for example /dev/pts/5. The port name that Qt reports is
//             the path without a leading "/dev/" (pts/5), the same name QSerialPort::portName() gives
//             for that path, so QSerialPort(QSerialPortInfo) opens the very device.
//   <vid>     USB vendor id in hexadecimal without "0x", for example 0403. Empty: the port reports
//             no vendor id (Qt's hasVendorIdentifier() is false). The text is handed to Qt unchanged.
//   <pid>     USB product id, likewise (hasProductIdentifier()).
//   <model>   description; <vendor> manufacturer; <serial> serial number. Empty or missing: empty
//             texts. As with the real libudev, Qt shows every "_" in model and vendor as a blank.
//
//   Entries are separated by ";", fields by ":", so neither character can appear inside a field.
//   Empty entries are ignored, and so are entries whose device does not begin with "/". Every listed
//   device appears with a parent USB device, also when it reports no ids (like an on-board port).
//   Examples:
//     VINDAL_FAKE_UDEV_PORTS="/dev/pts/5=0403:6001:USB_Serial_Adapter:Maker;/dev/pts/6=0483:a097"
//     VINDAL_FAKE_UDEV_PORTS="/dev/pts/7"            (a port without USB ids)
//   Unset or empty: no ports at all (the system's own ports are hidden as well).
//
// Use: either preload it into any Qt program (LD_PRELOAD=/path/libfakeudev.so), or link a test
// against it; in both cases its symbols come before those of the real libudev.so.1, which Qt's serial
// port library needs. The symbols carry libudev's version LIBUDEV_183 so versioned references bind here.
//
// Limits: it implements the enumeration and device calls (the ones Qt's serial port module uses and a
// few companions). Monitors and the hardware database are not provided; a process whose platform
// plugin reads input devices through libudev (linuxfb, eglfs, libinput) must not preload it. The xcb
// and offscreen platforms do not use libudev.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

extern "C"
{
    struct udev;
    struct udev_enumerate;
    struct udev_device;
    struct udev_list_entry;
}

namespace
{

const char* const s_portsVariable = "VINDAL_FAKE_UDEV_PORTS";
const char* const s_sysRoot = "/sys/devices/fakeudev";
// Qt falls back to reading /sys and /dev when an enumeration yields no entry at all, which would bring
// the system's own ports back. This entry has no parent device, so Qt skips it, but it counts as an entry.
const char* const s_placeholderSysPath = "/sys/devices/virtual/tty/fakeudev-placeholder";

struct fakePort_s
{
    std::string strDevice;
    std::string strVendorId;
    std::string strProductId;
    std::string strModel;
    std::string strVendor;
    std::string strSerial;
};

std::vector<std::string> split(const std::string& p_str, char p_cSeparator)
{
    std::vector<std::string> vecParts;
    std::string::size_type nStart = 0;
    for (;;)
    {
        const std::string::size_type nEnd = p_str.find(p_cSeparator, nStart);
        if (nEnd == std::string::npos)
        {
            vecParts.push_back(p_str.substr(nStart));
            return vecParts;
        }
        vecParts.push_back(p_str.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
}

std::vector<fakePort_s> configuredPorts()
{
    std::vector<fakePort_s> vecPorts;
    const char* pszValue = std::getenv(s_portsVariable);
    if (!pszValue)
        return vecPorts;
    for (const std::string& strEntry : split(pszValue, ';'))
    {
        if (strEntry.empty() || strEntry[0] != '/')
            continue;
        fakePort_s port;
        const std::string::size_type nEqual = strEntry.find('=');
        port.strDevice = strEntry.substr(0, nEqual);
        if (nEqual != std::string::npos)
        {
            const std::vector<std::string> vecFields = split(strEntry.substr(nEqual + 1), ':');
            std::string* aTargets[] = {&port.strVendorId, &port.strProductId, &port.strModel, &port.strVendor,
                                       &port.strSerial};
            for (std::size_t n = 0; n < vecFields.size() && n < 5; ++n)
                *aTargets[n] = vecFields[n];
        }
        vecPorts.push_back(port);
    }
    return vecPorts;
}

std::string sysPathOf(const fakePort_s& p_port)
{
    return s_sysRoot + p_port.strDevice;
}

std::string sysNameOf(const std::string& p_strDevice)
{
    if (p_strDevice.compare(0, 5, "/dev/") == 0)
        return p_strDevice.substr(5);
    return p_strDevice;
}

} // namespace

struct udev
{
    int nRefs = 1;
};

struct udev_list_entry
{
    std::string strName;
    std::string strValue;
    udev_list_entry* pNext = nullptr;
};

// A chain of list entries owned by one object; the entries live as long as their owner.
struct entryList_s
{
    std::vector<std::unique_ptr<udev_list_entry>> vecEntries;

    void clear() { vecEntries.clear(); }
    void append(const std::string& p_strName, const std::string& p_strValue)
    {
        std::unique_ptr<udev_list_entry> pEntry(new udev_list_entry);
        pEntry->strName = p_strName;
        pEntry->strValue = p_strValue;
        if (!vecEntries.empty())
            vecEntries.back()->pNext = pEntry.get();
        vecEntries.push_back(std::move(pEntry));
    }
    udev_list_entry* first() const { return vecEntries.empty() ? nullptr : vecEntries.front().get(); }
    const udev_list_entry* find(const char* p_pszName) const
    {
        for (const auto& pEntry : vecEntries)
            if (pEntry->strName == p_pszName)
                return pEntry.get();
        return nullptr;
    }
};

struct udev_enumerate
{
    int nRefs = 1;
    udev* pUdev = nullptr;
    std::vector<std::string> vecSubsystems;
    entryList_s devices;
};

struct udev_device
{
    int nRefs = 1;
    udev* pUdev = nullptr;
    std::string strSysPath;
    std::string strSysName;
    std::string strDevNode;
    std::string strSubsystem;
    std::string strDevType;
    std::string strDriver;
    entryList_s properties;
    // The parent belongs to its child, as in libudev: callers never release it.
    std::unique_ptr<udev_device> pParent;
    bool bIsParent = false;
};

namespace
{

const char* textOrNull(const std::string& p_str)
{
    return p_str.empty() ? nullptr : p_str.c_str();
}

void addProperty(udev_device* p_pDevice, const char* p_pszName, const std::string& p_strValue)
{
    // A property that a real device does not report is absent, not empty.
    if (!p_strValue.empty())
        p_pDevice->properties.append(p_pszName, p_strValue);
}

udev_device* newPortDevice(udev* p_pUdev, const fakePort_s& p_port)
{
    udev_device* pDevice = new udev_device;
    pDevice->pUdev = p_pUdev;
    pDevice->strSysPath = sysPathOf(p_port);
    pDevice->strSysName = sysNameOf(p_port.strDevice);
    pDevice->strDevNode = p_port.strDevice;
    pDevice->strSubsystem = "tty";
    addProperty(pDevice, "DEVNAME", p_port.strDevice);
    addProperty(pDevice, "SUBSYSTEM", "tty");
    addProperty(pDevice, "ID_BUS", "usb");
    addProperty(pDevice, "ID_VENDOR_ID", p_port.strVendorId);
    addProperty(pDevice, "ID_MODEL_ID", p_port.strProductId);
    addProperty(pDevice, "ID_MODEL", p_port.strModel);
    addProperty(pDevice, "ID_VENDOR", p_port.strVendor);
    addProperty(pDevice, "ID_SERIAL_SHORT", p_port.strSerial);

    std::unique_ptr<udev_device> pParent(new udev_device);
    pParent->pUdev = p_pUdev;
    pParent->strSysPath = pDevice->strSysPath + "/usb-adapter";
    pParent->strSysName = "usb-adapter";
    pParent->strSubsystem = "usb";
    pParent->strDevType = "usb_device";
    pParent->strDriver = "fakeudev";
    pParent->bIsParent = true;
    addProperty(pParent.get(), "SUBSYSTEM", "usb");
    addProperty(pParent.get(), "DEVTYPE", "usb_device");
    pDevice->pParent = std::move(pParent);
    return pDevice;
}

udev_device* newPlaceholderDevice(udev* p_pUdev)
{
    udev_device* pDevice = new udev_device;
    pDevice->pUdev = p_pUdev;
    pDevice->strSysPath = s_placeholderSysPath;
    pDevice->strSysName = "fakeudev-placeholder";
    pDevice->strSubsystem = "tty";
    return pDevice;
}

bool wantsTty(const udev_enumerate* p_pEnumerate)
{
    if (p_pEnumerate->vecSubsystems.empty())
        return true;
    for (const std::string& strSubsystem : p_pEnumerate->vecSubsystems)
        if (strSubsystem == "tty")
            return true;
    return false;
}

} // namespace

extern "C"
{

    // Lets a test find out that this stand-in, not the real libudev, answers (and links it for sure).
    __attribute__((visibility("default"))) int vindalFakeUdevActive(void)
    {
        return 1;
    }

#define FAKEUDEV_API __attribute__((visibility("default")))

    FAKEUDEV_API udev* udev_new(void)
    {
        return new udev;
    }

    FAKEUDEV_API udev* udev_ref(udev* p_pUdev)
    {
        if (p_pUdev)
            ++p_pUdev->nRefs;
        return p_pUdev;
    }

    FAKEUDEV_API udev* udev_unref(udev* p_pUdev)
    {
        if (p_pUdev && --p_pUdev->nRefs == 0)
            delete p_pUdev;
        return nullptr;
    }

    FAKEUDEV_API udev_enumerate* udev_enumerate_new(udev* p_pUdev)
    {
        if (!p_pUdev)
            return nullptr;
        udev_enumerate* pEnumerate = new udev_enumerate;
        pEnumerate->pUdev = udev_ref(p_pUdev);
        return pEnumerate;
    }

    FAKEUDEV_API udev_enumerate* udev_enumerate_ref(udev_enumerate* p_pEnumerate)
    {
        if (p_pEnumerate)
            ++p_pEnumerate->nRefs;
        return p_pEnumerate;
    }

    FAKEUDEV_API udev_enumerate* udev_enumerate_unref(udev_enumerate* p_pEnumerate)
    {
        if (p_pEnumerate && --p_pEnumerate->nRefs == 0)
        {
            udev_unref(p_pEnumerate->pUdev);
            delete p_pEnumerate;
        }
        return nullptr;
    }

    FAKEUDEV_API udev* udev_enumerate_get_udev(udev_enumerate* p_pEnumerate)
    {
        return p_pEnumerate ? p_pEnumerate->pUdev : nullptr;
    }

    FAKEUDEV_API int udev_enumerate_add_match_subsystem(udev_enumerate* p_pEnumerate,
                                                        const char* p_pszSubsystem)
    {
        if (!p_pEnumerate || !p_pszSubsystem)
            return -22; // -EINVAL, as libudev reports it
        p_pEnumerate->vecSubsystems.push_back(p_pszSubsystem);
        return 0;
    }

    FAKEUDEV_API int udev_enumerate_scan_devices(udev_enumerate* p_pEnumerate)
    {
        if (!p_pEnumerate)
            return -22;
        p_pEnumerate->devices.clear();
        if (!wantsTty(p_pEnumerate))
            return 0;
        for (const fakePort_s& port : configuredPorts())
            p_pEnumerate->devices.append(sysPathOf(port), std::string());
        p_pEnumerate->devices.append(s_placeholderSysPath, std::string());
        return 0;
    }

    FAKEUDEV_API udev_list_entry* udev_enumerate_get_list_entry(udev_enumerate* p_pEnumerate)
    {
        return p_pEnumerate ? p_pEnumerate->devices.first() : nullptr;
    }

    FAKEUDEV_API udev_list_entry* udev_list_entry_get_next(udev_list_entry* p_pEntry)
    {
        return p_pEntry ? p_pEntry->pNext : nullptr;
    }

    FAKEUDEV_API const char* udev_list_entry_get_name(udev_list_entry* p_pEntry)
    {
        return p_pEntry ? p_pEntry->strName.c_str() : nullptr;
    }

    FAKEUDEV_API const char* udev_list_entry_get_value(udev_list_entry* p_pEntry)
    {
        return p_pEntry ? textOrNull(p_pEntry->strValue) : nullptr;
    }

    FAKEUDEV_API udev_device* udev_device_new_from_syspath(udev* p_pUdev, const char* p_pszSysPath)
    {
        if (!p_pUdev || !p_pszSysPath)
            return nullptr;
        udev_device* pDevice = nullptr;
        if (std::strcmp(p_pszSysPath, s_placeholderSysPath) == 0)
        {
            pDevice = newPlaceholderDevice(p_pUdev);
        }
        else
        {
            for (const fakePort_s& port : configuredPorts())
            {
                if (sysPathOf(port) == p_pszSysPath)
                {
                    pDevice = newPortDevice(p_pUdev, port);
                    break;
                }
            }
        }
        if (!pDevice)
            return nullptr;
        udev_ref(p_pUdev);
        return pDevice;
    }

    FAKEUDEV_API udev_device* udev_device_ref(udev_device* p_pDevice)
    {
        if (p_pDevice)
            ++p_pDevice->nRefs;
        return p_pDevice;
    }

    FAKEUDEV_API udev_device* udev_device_unref(udev_device* p_pDevice)
    {
        // Parents are released together with their child, never on their own.
        if (p_pDevice && !p_pDevice->bIsParent && --p_pDevice->nRefs == 0)
        {
            udev_unref(p_pDevice->pUdev);
            delete p_pDevice;
        }
        return nullptr;
    }

    FAKEUDEV_API udev* udev_device_get_udev(udev_device* p_pDevice)
    {
        return p_pDevice ? p_pDevice->pUdev : nullptr;
    }

    FAKEUDEV_API udev_device* udev_device_get_parent(udev_device* p_pDevice)
    {
        return p_pDevice ? p_pDevice->pParent.get() : nullptr;
    }

    FAKEUDEV_API udev_device* udev_device_get_parent_with_subsystem_devtype(udev_device* p_pDevice,
                                                                            const char* p_pszSubsystem,
                                                                            const char* p_pszDevType)
    {
        if (!p_pDevice || !p_pDevice->pParent || !p_pszSubsystem)
            return nullptr;
        udev_device* pParent = p_pDevice->pParent.get();
        if (pParent->strSubsystem != p_pszSubsystem)
            return nullptr;
        if (p_pszDevType && pParent->strDevType != p_pszDevType)
            return nullptr;
        return pParent;
    }

    FAKEUDEV_API const char* udev_device_get_syspath(udev_device* p_pDevice)
    {
        return p_pDevice ? textOrNull(p_pDevice->strSysPath) : nullptr;
    }

    FAKEUDEV_API const char* udev_device_get_sysname(udev_device* p_pDevice)
    {
        return p_pDevice ? textOrNull(p_pDevice->strSysName) : nullptr;
    }

    FAKEUDEV_API const char* udev_device_get_devnode(udev_device* p_pDevice)
    {
        return p_pDevice ? textOrNull(p_pDevice->strDevNode) : nullptr;
    }

    FAKEUDEV_API const char* udev_device_get_subsystem(udev_device* p_pDevice)
    {
        return p_pDevice ? textOrNull(p_pDevice->strSubsystem) : nullptr;
    }

    FAKEUDEV_API const char* udev_device_get_devtype(udev_device* p_pDevice)
    {
        return p_pDevice ? textOrNull(p_pDevice->strDevType) : nullptr;
    }

    FAKEUDEV_API const char* udev_device_get_driver(udev_device* p_pDevice)
    {
        return p_pDevice ? textOrNull(p_pDevice->strDriver) : nullptr;
    }

    FAKEUDEV_API const char* udev_device_get_property_value(udev_device* p_pDevice, const char* p_pszKey)
    {
        if (!p_pDevice || !p_pszKey)
            return nullptr;
        const udev_list_entry* pEntry = p_pDevice->properties.find(p_pszKey);
        return pEntry ? pEntry->strValue.c_str() : nullptr;
    }

    FAKEUDEV_API udev_list_entry* udev_device_get_properties_list_entry(udev_device* p_pDevice)
    {
        return p_pDevice ? p_pDevice->properties.first() : nullptr;
    }

} // extern "C"
