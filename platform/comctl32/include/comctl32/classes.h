// What comctl32 does when a process loads it, as its DllMain does on Windows: registers its
// window classes (the up-down control). The platform's start calls it; InitCommonControls and
// CreateUpDownControl make sure of it again.
#pragma once

namespace vintorel::comctl32 {

void registerClasses(); // once per process; later calls do nothing

} // namespace vintorel::comctl32
