// Ordered (name, pointer) table: the lookup table of the resource caches and of
// the control maps. Entries are only appended; lookups find the first match.
#pragma once

class name_hash {
 public:
  static constexpr int name_size = 256;  // longer names are cut to 255 characters

  struct entry {
    char name[name_size];
    void* data;
    entry* next;
  };

  // Set by the resource caches: names are file names, compared in the form
  // normal_data_name gives them, so every spelling of one file is one entry.
  bool file_name_keys = false;

  name_hash();  // prints "making hash empty"
  ~name_hash();
  name_hash(const name_hash&) = delete;
  name_hash& operator=(const name_hash&) = delete;

  void insert(const char* name, void* data);
  void* lookup(const char* name) const;  // null when absent
  const entry* first() const { return first_; }

 private:
  entry* first_ = nullptr;
  entry* last_ = nullptr;
};
