// Registration of the system window classes: the standard controls and the up-down control.
#include "user32/controls.h"

namespace vintorel::user32 {

void registerBuiltinClasses() {
    registerButtonClass();
    registerEditClass();
    registerStaticClass();
    registerComboBoxClass();
    registerUpDownClass();
}

void ensureBuiltinClasses() {
    static bool done = false;
    if (!done) {
        done = true;
        registerBuiltinClasses();
    }
}

} // namespace vintorel::user32
