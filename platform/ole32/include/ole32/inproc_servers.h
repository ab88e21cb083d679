// The in-process servers the system offers, by class id: what the registry's InprocServer32
// keys are on Windows. The platform's start fills it (start/inproc_servers.cpp); CoGetClassObject
// consults it after the class objects registered with CoRegisterClassObject.
#pragma once

#include <objbase.h>

#include <string>

namespace vintorel::ole32 {

// Offers `clsid` as served by `module`, the file name of a shared module that exports
// DllGetClassObject, looked for beside the executable and in ../lib/vintorel. A later
// registration of the same class replaces the earlier one.
void registerInprocServer(const CLSID &clsid, const std::string &module);

} // namespace vintorel::ole32
