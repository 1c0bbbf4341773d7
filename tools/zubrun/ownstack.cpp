#include "ownstack.h"

#include <pthread.h>

namespace zubrun {

namespace {

struct Job {
  const std::function<int()>* work;
  int result = 0;
};

void* runJob(void* arg) {
  Job& job = *static_cast<Job*>(arg);
  job.result = (*job.work)();
  return nullptr;
}

}  // namespace

int runOnOwnStack(size_t bytes, const std::function<int()>& work) {
  Job job{&work};
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return work();
  pthread_t thread;
  const bool made = pthread_attr_setstacksize(&attr, bytes) == 0 &&
                    pthread_create(&thread, &attr, runJob, &job) == 0;
  pthread_attr_destroy(&attr);
  if (!made) return work();  // too little memory for the stack: the checks still hold
  pthread_join(thread, nullptr);
  return job.result;
}

}  // namespace zubrun
