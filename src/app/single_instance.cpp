#include "app/single_instance.h"

namespace veltrano {

SingleInstanceGuard::SingleInstanceGuard() : mutex_(::CreateMutexW(nullptr, FALSE, L"Local\\Veltrano_Mutex")) {
    if (mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        anotherInstance_ = true;
        mutex_.Reset();
    }
}

}  // namespace veltrano
