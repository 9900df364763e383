#pragma once

#include <windows.h>

namespace tessaline::automation::com {

// The reference count of an object this program implements for COM. It starts at one, the creator's
// reference; the object deletes itself when the last reference goes.
class RefCount {
public:
    ULONG add() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    template <class T>
    ULONG release(T* self) {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete self;
        return static_cast<ULONG>(left);
    }

private:
    LONG refs_ = 1;
};

}  // namespace tessaline::automation::com
