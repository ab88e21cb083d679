// Records every message box the program shows and answers it, through the platform's one test
// hook, for as long as it lives.
#pragma once

#include "vintorel_test_message_box.h"

#include <deque>
#include <string>
#include <vector>

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

class MessageBoxes {
  public:
    MessageBoxes() { VintorelSetMessageBoxAnswerer(&MessageBoxes::answer, this); }
    ~MessageBoxes() { VintorelSetMessageBoxAnswerer(nullptr, nullptr); }
    MessageBoxes(const MessageBoxes &) = delete;
    MessageBoxes &operator=(const MessageBoxes &) = delete;

    // Answers for the next boxes, in order; afterwards IDOK (or IDYES for a Yes/No box).
    void willAnswer(int button) { answers_.push_back(button); }
    const std::vector<MessageBoxRecord> &shown() const { return shown_; }

  private:
    static int answer(void *self, HWND owner, const char *text, const char *caption, UINT type) {
        auto *me = static_cast<MessageBoxes *>(self);
        me->shown_.push_back({owner, text, caption, type});
        if (!me->answers_.empty()) {
            const int button = me->answers_.front();
            me->answers_.pop_front();
            return button;
        }
        return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    std::deque<int> answers_;
    std::vector<MessageBoxRecord> shown_;
};
