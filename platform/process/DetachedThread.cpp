#include "platform/process/DetachedThread.h"

#include <pthread.h>
#include <signal.h>

#include <memory>

namespace {
void* runBody(void* arg) {
    const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(arg));
    (*body)();
    return nullptr;
}
} // namespace

bool StartDetachedThread(std::function<void()> body) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    const auto destroyAttributes = [](pthread_attr_t* a) { pthread_attr_destroy(a); };
    const std::unique_ptr<pthread_attr_t, decltype(destroyAttributes)> attributesGuard(
        &attributes, destroyAttributes);
    if (pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) != 0)
        return false;
    auto heapBody = std::make_unique<std::function<void()>>(std::move(body));

    // The new thread inherits the creator's signal mask: block everything around the creation.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    pthread_t thread;
    const int rc = pthread_create(&thread, &attributes, runBody, heapBody.get());
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (rc != 0)
        return false;
    heapBody.release(); // runBody owns it now
    return true;
}
