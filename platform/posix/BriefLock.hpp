// A mutex for critical sections of a few list and counter changes that several threads enter
// for every folder they list: a thread that finds it taken spins a little before it sleeps, as
// the holder is about to let go, instead of going to sleep and being woken for each folder.
#pragma once

#include <pthread.h>

namespace quarnel {

class BriefLock {
public:
    BriefLock() {
        pthread_mutexattr_t attributes;
        pthread_mutexattr_init(&attributes);
        pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ADAPTIVE_NP);
        pthread_mutex_init(&mutex_, &attributes);
        pthread_mutexattr_destroy(&attributes);
    }
    ~BriefLock() { pthread_mutex_destroy(&mutex_); }
    BriefLock(const BriefLock&) = delete;
    BriefLock& operator=(const BriefLock&) = delete;

    void lock() { pthread_mutex_lock(&mutex_); }
    void unlock() { pthread_mutex_unlock(&mutex_); }

private:
    pthread_mutex_t mutex_;
};

}  // namespace quarnel
