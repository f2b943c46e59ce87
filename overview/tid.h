// The payload of a tree node: the node's address ID as decimal text. Every
// node of the link tree carries exactly one; the node owns it (the tree item
// keeps a pointer made with `new`, released when the item leaves the tree).
#pragma once

#include <string>

namespace zs {

struct TID {
  std::string IDText;
};

}  // namespace zs
