#pragma once

#include <sys/resource.h>

// Lowers the address-space limit that a started program inherits, for as long
// as the object lives.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(rlim_t bytes) {
    getrlimit(RLIMIT_AS, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_AS, &lowered);
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

 private:
  rlimit saved_{};
};
