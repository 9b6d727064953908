#pragma once

#include <memory>

namespace gatehouse {

// The one owner of what the plugin keeps from one call of the host to the next:
// its library path, the log channel, the settings in force and their prepared
// lists, the console logger, the hooks' call-through slots, the capacity bypass
// and the permissions binding. Each of these parts is created at its first use
// (Load is the first user) and all of them end together in Release, the last
// step of Unload, newest first. So an unloaded plugin leaves nothing behind,
// whether its library then leaves the process (the host's unload) or stays in
// it (a test that loads, unloads and loads again).
//
// Everything here runs on the game thread, as every call of the host does.
class ProcessState {
 public:
  // The part of type Part, created now if there is none. A part's constructor
  // and destructor must not reach other parts.
  template <class Part>
  static Part& Get() {
    if (Node* found = Find(&kKey<Part>)) {
      return static_cast<Holder<Part>*>(found)->part;
    }
    auto holder = std::make_unique<Holder<Part>>(&kKey<Part>);
    Part& part = holder->part;
    Add(std::move(holder));
    return part;
  }

  // Destroys every part, the newest first.
  static void Release() noexcept;

 private:
  struct Node {
    explicit Node(const void* part_key) : key(part_key) {}
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const void* key;
    Node* older = nullptr;
  };

  template <class Part>
  struct Holder final : Node {
    using Node::Node;
    Part part{};
  };

  // One address per part type: the part's key.
  template <class Part>
  static constexpr char kKey = 0;

  static Node* Find(const void* key) noexcept;
  static void Add(std::unique_ptr<Node> node) noexcept;

  // The newest part; each holds the one made before it. A plain pointer with
  // no destructor: parts live until Release, and what a process never
  // released stays reachable to its end.
  static Node* newest_;
};

}  // namespace gatehouse
