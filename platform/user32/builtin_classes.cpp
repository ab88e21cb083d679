// Registration of the system window classes. The standard controls (BUTTON, EDIT, STATIC,
// COMBOBOX, the up-down control) register themselves here as they are added to the platform.
#include "user32/window_manager.h"

namespace vintorel::user32 {

void registerBuiltinClasses() {}

void ensureBuiltinClasses() {
    static bool done = false;
    if (!done) {
        done = true;
        registerBuiltinClasses();
    }
}

} // namespace vintorel::user32
