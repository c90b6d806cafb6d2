#pragma once

#include <windows.h>
#include <setupapi.h>

namespace kvt {

// The four SetupAPI calls that list the device interfaces of a class, with
// SetupAPI's own arguments, so that the listing can run over a double.
class SetupApi {
public:
    virtual ~SetupApi() = default;
    virtual HDEVINFO getClassDevs(const GUID *classGuid, PCSTR enumerator, HWND parent, DWORD flags) = 0;
    virtual BOOL enumDeviceInterfaces(HDEVINFO info, PSP_DEVINFO_DATA device, const GUID *interfaceClass,
                                      DWORD index, PSP_DEVICE_INTERFACE_DATA interfaceData) = 0;
    virtual BOOL getDeviceInterfaceDetail(HDEVINFO info, PSP_DEVICE_INTERFACE_DATA interfaceData,
                                          PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize,
                                          PDWORD requiredSize, PSP_DEVINFO_DATA device) = 0;
    virtual BOOL destroyDeviceInfoList(HDEVINFO info) = 0;
};

// The system's setupapi.dll.
SetupApi &systemSetupApi();

} // namespace kvt
