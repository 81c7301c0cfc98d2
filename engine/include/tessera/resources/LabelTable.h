/// @file
/// LabelTable, resources of one kind held by label.
#ifndef TS_LABEL_TABLE_H
#define TS_LABEL_TABLE_H

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include <tessera/core/LogManager.h>

namespace ts {

template <typename Resource>
/// Resources of one kind (sprites, music or sounds) held by label, at most a
/// fixed number of them. The resource manager keeps one table per kind; the
/// table owns what it holds and hands out non-owning pointers, valid until
/// clear() or the table goes. Resource needs getLabel().
class LabelTable {
 public:
  /// An empty table of at most capacity resources; kind names the resource in
  /// log lines, capitalised: "Sprite", "Music".
  LabelTable(const char *kind, int capacity) : m_kind(kind), m_lower_kind(kind), m_capacity(capacity) {
    m_lower_kind[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(m_lower_kind[0])));
  }

  /// The kind as given: "Sprite", "Music", "Sound".
  const std::string &getKind() const { return m_kind; }
  /// The kind as it stands inside a sentence: "sprite", "music".
  const std::string &getLowerKind() const { return m_lower_kind; }
  /// The most resources the table holds.
  int getCapacity() const { return m_capacity; }
  /// Resources held.
  int getCount() const { return static_cast<int>(m_items.size()); }
  /// Whether getCount() has reached getCapacity().
  bool isFull() const { return getCount() >= m_capacity; }

  /// Takes ownership of resource (under its label); the caller checks
  /// isFull() first.
  void add(std::unique_ptr<Resource> resource) { m_items.push_back(std::move(resource)); }

  /// The first resource with the label (not owned by the caller), or null
  /// after a warning "RM::get<Kind>(): Warning! <Kind> '<label>' not found.".
  /// Logs the search at level 5.
  Resource *find(const std::string &label) const {
    const LogManager &log = LogManager::getInstance();
    log.writeLog(LOG_MANAGER, "RM::get%s(): Looking for %s '%s'.", m_kind.c_str(), m_lower_kind.c_str(), label.c_str());
    for (const std::unique_ptr<Resource> &item : m_items)
      if (item->getLabel() == label) return item.get();
    log.writeLog("RM::get%s(): Warning! %s '%s' not found.", m_kind.c_str(), m_kind.c_str(), label.c_str());
    return nullptr;
  }

  template <typename Visit>
  /// Calls visit(resource) for each resource held, in the order added.
  void forEach(Visit visit) {
    for (std::unique_ptr<Resource> &item : m_items) visit(*item);
  }

  /// Destroys every resource held.
  void clear() { m_items.clear(); }

 private:
  std::string m_kind;
  std::string m_lower_kind;
  int m_capacity;
  std::vector<std::unique_ptr<Resource>> m_items;
};

}  // namespace ts

#endif
