#include "app/decimal.h"

LONG parseDecimal(const char *text) {
    if (text == nullptr) {
        return 0;
    }
    const char *p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > limit) {
            value = limit;
        }
        ++p;
    }
    return static_cast<LONG>(negative ? -value : value);
}
