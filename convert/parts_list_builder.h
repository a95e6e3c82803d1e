// PartsListBuilder: collects the components of every input document and
// turns them into the sorted rows of the parts list.
//
// The conversion hands it the components of one document after another
// (collect, endInput), each as it is read, asks it once to make and sort
// the rows (build), and hands the sorted rows (entries) to the writer of
// the list's format (convert/parts_list_writer.h).
// Every placed component with a reference becomes one row; nothing is
// merged, and components sharing a reference end up next to each other,
// where the writer marks them.
//
// Ownership: the builder owns the rows it made and copies of the texts they
// need, and nothing of a document: each document can go as soon as it was
// collected. Not synchronized: a run uses it from one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory_resource>
#include <string_view>

#include "convert/parts_list_entry.h"
#include "schobj/object_list.h"

namespace vesk {

class SchComponent;
class SchObject;

// A reference split into its prefix and the number its trailing digits
// spell (R12: R and 12; U1A: U1A and 0; 123: empty and 123). The prefix
// views the given text.
struct ReferenceParts {
  std::string_view prefix;
  int number = 0;
};
ReferenceParts splitReference(std::string_view reference);


class PartsListBuilder {
 public:
  // The rows and the sorted list take their memory from `memory`, which
  // must outlive the builder.
  explicit PartsListBuilder(std::pmr::memory_resource* memory = std::pmr::new_delete_resource());
  ~PartsListBuilder();
  PartsListBuilder(const PartsListBuilder&) = delete;
  PartsListBuilder& operator=(const PartsListBuilder&) = delete;

  // Makes the row of `component` when it has a reference, for the current
  // input: the rows carry the number of endInput calls before them.
  void collect(const SchComponent& component);
  // Ends the current input; the rows collected after belong to the next.
  void endInput() { ++inputs_; }
  // Collects the components among `objects` as one input (endInput).
  void collect(const ObjectList& objects);
  // Sorts the entries, one per collected component, by prefix, number and
  // name; entries equal in all three keep collection order.
  void build();
  // Writes the rows to `out` (opened in binary mode) in the per-component
  // CSV format (convert/csv_parts_list.h): 0, or -1 when build was never
  // called, in which case nothing is written. Write errors of the stream
  // are left to the caller (ferror / fclose). Other formats take the
  // entries() to a writer of their own.
  int write(std::FILE* out) const;

  std::size_t collectedCount() const { return rows_.size(); }
  // The entries in sorted order, or null before build.
  const SortedPartsList* entries() const { return built_ ? &rows_ : nullptr; }

 private:
  // The rows and their texts go one after the other into blocks of the
  // run's memory, which never move, each block larger than the one before.
  // The first is large enough for a run's memory to serve it in huge pages
  // (app: platform/run_memory.h); room not yet used is never touched and
  // costs address space only.
  static constexpr std::size_t kRowBlock = 1024 * 1024;

  std::string_view keep(std::string_view text);
  void addRow(int number, std::string_view prefix, std::string_view name, std::string_view note);

  std::pmr::monotonic_buffer_resource memory_;
  SortedPartsList rows_;  // in collection order, and in parts-list order once built
  std::uint32_t inputs_ = 0;  // endInput calls so far
  bool built_ = false;
};

}  // namespace vesk
