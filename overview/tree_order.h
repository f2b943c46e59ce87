// Display order of the overview's tree: every node counts, expanded or not,
// in the order first owner, its linked nodes, next owner, ... Written against
// a small shape interface so the rules are tested without a tree control.
#pragma once

namespace zs {

// The shape of a tree of nodes of type Node; a null Node (Node{}) is "none".
template <class Node>
class TTreeShape {
 public:
  virtual ~TTreeShape() = default;
  virtual Node Parent(Node n) const = 0;
  virtual Node FirstChild(Node n) const = 0;   // of Node{}: the first top-level node
  virtual Node NextSibling(Node n) const = 0;
  virtual Node PrevSibling(Node n) const = 0;
};

// The node after `n` in display order: its first child, else its next
// sibling, else the next sibling of the nearest ancestor that has one.
template <class Node>
Node DisplayNext(const TTreeShape<Node>& t, Node n) {
  if (Node c = t.FirstChild(n)) return c;
  for (Node a = n; a; a = t.Parent(a))
    if (Node s = t.NextSibling(a)) return s;
  return Node{};
}

// The node before `n` in display order: the previous sibling's last
// descendant, else the parent.
template <class Node>
Node DisplayPrev(const TTreeShape<Node>& t, Node n) {
  Node p = t.PrevSibling(n);
  if (!p) return t.Parent(n);
  for (;;) {
    Node c = t.FirstChild(p);
    if (!c) return p;
    while (Node s = t.NextSibling(c)) c = s;
    p = c;
  }
}

// The node at display index `index` (from 0), or none.
template <class Node>
Node NodeAtIndex(const TTreeShape<Node>& t, int index) {
  if (index < 0) return Node{};
  Node n = t.FirstChild(Node{});
  for (int i = 0; n && i < index; ++i) n = DisplayNext(t, n);
  return n;
}

// Display index of `n`, or -1 when it is not in the tree.
template <class Node>
int IndexOfNode(const TTreeShape<Node>& t, Node n) {
  int i = 0;
  for (Node m = t.FirstChild(Node{}); m; m = DisplayNext(t, m), ++i)
    if (m == n) return i;
  return -1;
}

// The index a fill selects at its end: 0 when the tree has nodes, replaced by
// `last_removed` when that is a valid index; -1 selects nothing.
inline int FillSelectionIndex(int node_count, int last_removed) {
  int select = node_count > 0 ? 0 : -1;
  if (last_removed != -1 && last_removed >= 0 && last_removed < node_count) select = last_removed;
  return select;
}

}  // namespace zs
