#pragma once

#include <string>

#include "cloth/Parameter.h"

// The cloth's named parameters in a 41-bucket chained hash table. New records go to the head of
// their bucket, so a second record of the same name shadows the first for find and valueOf while
// collect and count still see both.
class ParameterList {
public:
  static constexpr int kBuckets = 41;

  ParameterList() = default;
  ParameterList(const ParameterList&) = delete;
  ParameterList& operator=(const ParameterList&) = delete;
  virtual ~ParameterList();

  // Stores a heap copy of `parameter`; returns it, or nullptr when out of memory.
  virtual Parameter* insert(const Parameter& parameter);
  virtual Parameter* find(const std::string& name) const;  // exact, case-sensitive
  virtual double valueOf(const std::string& name) const;   // 0.0 for an unknown name
  // Fills `out` (room for count() pointers) bucket by bucket, each from the head of its chain.
  virtual int collect(Parameter** out) const;
  virtual int count() const { return numParameters; }
  virtual int bucketOf(const std::string& name) const;

private:
  Parameter* buckets[kBuckets] = {};
  int numParameters = 0;
};
