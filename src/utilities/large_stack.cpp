#include "utilities/large_stack.hpp"

#include <pthread.h>

#include <exception>

namespace umbrix {

namespace {

struct Job {
  const std::function<void()>* function;
  std::exception_ptr error;
};

void* RunJob(void* argument) {
  auto* job = static_cast<Job*>(argument);
  try {
    (*job->function)();
  } catch (...) {
    job->error = std::current_exception();
  }
  return nullptr;
}

}  // namespace

void RunWithLargeStack(const std::function<void()>& job, std::size_t stackBytes) {
  Job state{&job, nullptr};
  pthread_attr_t attributes;
  pthread_t thread;
  bool started = pthread_attr_init(&attributes) == 0 &&
                 pthread_attr_setstacksize(&attributes, stackBytes) == 0 &&
                 pthread_create(&thread, &attributes, &RunJob, &state) == 0;
  pthread_attr_destroy(&attributes);
  if (!started) {
    job();  // no thread to be had: run on the current stack
    return;
  }
  pthread_join(thread, nullptr);
  if (state.error) std::rethrow_exception(state.error);
}

}  // namespace umbrix
