#include "cloth/ParameterList.h"

#include <new>

ParameterList::~ParameterList() {
  for (Parameter*& head : buckets) {
    while (head != nullptr) {
      Parameter* next = head->next;
      delete head;
      head = next;
    }
  }
}

Parameter* ParameterList::insert(const Parameter& parameter) {
  auto* record = new (std::nothrow)
      Parameter(parameter.name, parameter.minimum, parameter.maximum, parameter.value);
  if (record == nullptr) return nullptr;
  Parameter*& head = buckets[bucketOf(record->name)];
  record->next = head;
  head = record;
  ++numParameters;
  return record;
}

Parameter* ParameterList::find(const std::string& name) const {
  for (Parameter* p = buckets[bucketOf(name)]; p != nullptr; p = p->next)
    if (p->name == name) return p;
  return nullptr;
}

double ParameterList::valueOf(const std::string& name) const {
  const Parameter* p = find(name);
  return p != nullptr ? p->value : 0.0;
}

int ParameterList::collect(Parameter** out) const {
  int n = 0;
  for (Parameter* head : buckets)
    for (Parameter* p = head; p != nullptr; p = p->next) out[n++] = p;
  return n;
}

int ParameterList::bucketOf(const std::string& name) const {
  int sum = 0;
  for (char ch : name) sum += static_cast<signed char>(ch);
  // Names are 7-bit ASCII; the guard keeps any other byte from indexing outside the table.
  const int bucket = sum % kBuckets;
  return bucket < 0 ? bucket + kBuckets : bucket;
}
