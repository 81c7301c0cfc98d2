/// @file
/// EventHandler, what managers hand events to, and LiveSnapshot.
#ifndef TS_EVENT_HANDLER_H
#define TS_EVENT_HANDLER_H

#include <cstdint>
#include <string>
#include <vector>

namespace ts {

class Event;

/// What a manager hands events to: objects are event handlers. Every handler
/// gets a serial number that no later handler reuses, so a walk over a copied
/// list of handlers can tell whether an entry was destroyed meanwhile (even if
/// a new handler took over its address) and skip it.
class EventHandler {
 public:
  /// Takes the next serial number and counts as live.
  EventHandler();
  /// No longer live.
  virtual ~EventHandler();

  /// Handles p_event (owned by the sender, valid only during the call):
  /// nonzero when the event was used, 0 when ignored.
  virtual int eventHandler(const Event *p_event) = 0;
  /// Inactive handlers get no events.
  virtual bool isActive() const = 0;
  /// An id for log lines (the object id).
  virtual int getId() const = 0;
  /// A type name for log lines (the object type).
  virtual std::string getType() const = 0;

  /// The serial number, unique for the process's life (from 1).
  uint64_t getSerial() const { return m_serial; }
  /// Whether the handler constructed with this serial still exists.
  static bool isLive(uint64_t serial);

  EventHandler(const EventHandler &) = delete;
  EventHandler &operator=(const EventHandler &) = delete;

 protected:
  /// Ends the handler's life for walks already now, before the rest of its
  /// destruction (which may unregister it or tell other parts it is gone).
  void retire();

 private:
  uint64_t m_serial;
};

// A copy of a list of handlers (or objects) with their serials, for a walk
// during which handlers may destroy others or themselves.
template <typename T>
/// A copy of a list of handlers (or objects) with their serials, for a walk
/// during which handlers may destroy others or themselves. T needs
/// getSerial(); the snapshot does not own the items.
class LiveSnapshot {
 public:
  /// Makes room for count items.
  void reserve(size_t count) { m_entries.reserve(count); }
  /// Adds item (not null) with its current serial.
  void add(T *item) { m_entries.push_back(Entry{item, item->getSerial()}); }
  // Calls visit(item) for each entry that still exists when its turn comes.
  template <typename Visit>
  /// Calls visit(item) for each entry that still exists when its turn comes.
  void forEachLive(Visit visit) const {
    for (const Entry &entry : m_entries)
      if (EventHandler::isLive(entry.serial)) visit(entry.item);
  }
  // The same, until visit returns false; false if it did.
  template <typename Visit>
  /// The same, until visit returns false; false if it did.
  bool forEachLiveWhile(Visit visit) const {
    for (const Entry &entry : m_entries)
      if (EventHandler::isLive(entry.serial) && !visit(entry.item)) return false;
    return true;
  }

 private:
  struct Entry {
    T *item;
    uint64_t serial;
  };
  std::vector<Entry> m_entries;
};

}  // namespace ts

#endif
