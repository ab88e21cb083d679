#include "app/messages.h"

#include "app/app_state.h"

int showMessage(HWND owner, const Message &message) {
    if (app.language == 0) {
        return MessageBoxA(owner, message.russian, message.russianCaption, message.type);
    }
    return MessageBoxA(owner, message.english, message.englishCaption, message.type);
}
