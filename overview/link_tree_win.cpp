// FillLinkTree: the overview's tree rebuilt from ADRESSLINK and Adressen.adt.
//
// Wine's tree-view re-walks every visible item on each TVM_EXPAND and
// TVM_SORTCHILDREN, so calling them per owner makes the fill quadratic; its
// own sort also folds case and ignores the recursion flag. The fill therefore
// reaches the defined result (every level sorted with lstrcmpA, every owner
// with children expanded) with a constant number of whole-tree operations:
// each owner's children are sorted in memory before they are inserted, owners
// that have children are inserted expanded, and the top level is sorted once
// with TVM_SORTCHILDRENCB.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/globals.h"
#include "app/main_window.h"
#include "overview/address_name.h"
#include "overview/show_address.h"
#include "overview/tree_items_win.h"
#include "storage/link_list.h"
#include "storage/link_table.h"

namespace zs {
namespace {

constexpr int kOwnerImage = 0;
constexpr int kLinkedImage = 1;

struct PendingNode {
  std::string text;
  std::string id_text;
};

std::string NodeTextOf(TAdsTable& adr) {
  const std::string abt = adr.FieldByName("Abt").AsString();
  const std::string nname = adr.FieldByName("NName").AsString();
  const std::string vname = adr.FieldByName("VName").AsString();
  const std::string knr = adr.FieldByName("KNR").AsString();
  const std::string gr = adr.FieldByName("GR").AsString();
  return AddressNodeText({abt, nname, vname, knr, gr});
}

// Finds the address of a link-list entry. An entry that is no decimal
// number (hand-edited data) names no address and is skipped like a missing
// one; the lookup itself is the exact "ID" lookup of the database layer.
// On success `id_text` is the located address's "ID" as text: the lookup
// matched it exactly, so it is the decimal text of the number looked up.
bool LocateEntry(TAdsTable& adr, const std::string& entry, std::string* id_text) {
  const int32_t id = IdTextToInt(entry);
  if (id == 0 && entry.find_first_not_of("+-0") != std::string::npos) return false;
  if (entry.empty() || entry.find_first_of("0123456789") == std::string::npos) return false;
  if (!adr.Locate("ID", id)) return false;
  *id_text = std::to_string(id);
  return true;
}

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, const PendingNode& node, int image, bool expanded) {
  TID* payload = new TID{node.id_text};
  TVINSERTSTRUCTA is{};
  is.hParent = parent;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  is.item.pszText = const_cast<char*>(node.text.c_str());
  is.item.lParam = reinterpret_cast<LPARAM>(payload);
  is.item.iImage = image;
  is.item.iSelectedImage = image;
  is.item.stateMask = TVIS_EXPANDED;
  is.item.state = expanded ? TVIS_EXPANDED : 0;
  HTREEITEM item =
      reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
  if (!item) delete payload;  // the tree never took it
  return item;
}

using TextByPayload = std::unordered_map<LPARAM, std::string>;

int CALLBACK CompareTopLevel(LPARAM a, LPARAM b, LPARAM texts) {
  const auto& map = *reinterpret_cast<const TextByPayload*>(texts);
  auto ia = map.find(a);
  auto ib = map.find(b);
  return lstrcmpA(ia == map.end() ? "" : ia->second.c_str(), ib == map.end() ? "" : ib->second.c_str());
}

}  // namespace

void TFAdressExtremeLinks::FillLinkTree() {
  TBusyScope busy(*this);
  HWND tree = Tree.Handle();
  TLinkList entries;  // the temporary list of one record's link-list entries
  bool redraw_suspended = false;

  auto closing_steps = [&] {
    if (redraw_suspended) {
      SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(tree, nullptr, TRUE);
    }
    lb.SetCaption("");
    PShow.SetVisible(false);
    entries.clear();
    FlatButton1.SetEnabled(true);
    FlatButton4.SetEnabled(true);
    FlatButton2.SetEnabled(true);
    HTREEITEM selected = TreeView_GetSelection(tree);
    FlatButton3.SetEnabled(selected && TreeView_GetParent(tree, selected));

    // Sort the top level with lstrcmpA (the children were inserted sorted),
    // and expand what the user may have collapsed during the fill.
    TextByPayload texts;
    for (HTREEITEM owner = TreeView_GetRoot(tree); owner; owner = TreeView_GetNextSibling(tree, owner)) {
      char buf[1024] = {};
      TVITEMA it{};
      it.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE;
      it.hItem = owner;
      it.pszText = buf;
      it.cchTextMax = sizeof buf;
      it.stateMask = TVIS_EXPANDED;
      SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
      texts.emplace(it.lParam, buf);
      if (!(it.state & TVIS_EXPANDED) && TreeView_GetChild(tree, owner)) TreeView_Expand(tree, owner, TVE_EXPAND);
    }
    if (texts.size() > 1) {
      TVSORTCB sort{};
      sort.hParent = TVI_ROOT;
      sort.lpfnCompare = CompareTopLevel;
      sort.lParam = reinterpret_cast<LPARAM>(&texts);
      SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }

    // Each selection raises the tree's change event, so TreeChange sets the
    // remove button for the final selection.
    TTreeItems shape(tree);
    const int count = static_cast<int>(TreeView_GetCount(tree));
    if (count > 0) TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    const int target = FillSelectionIndex(count, LastRemovedIndex);
    if (target > 0) TreeView_SelectItem(tree, NodeAtIndex(shape, target));
  };

  try {
    TreeView_DeleteAllItems(tree);  // the tree releases every payload (TVN_DELETEITEM)
    TAdsTable* links = LinkTable_ ? &LinkTable_->GetTable() : nullptr;
    if (links && !links->IsEmpty()) {
      PShow.SetVisible(true);
      links->Refresh();
      FlatButton1.SetEnabled(false);
      FlatButton4.SetEnabled(false);
      FlatButton2.SetEnabled(false);
      FlatButton3.SetEnabled(false);
      PG.SetPosition(0);
      PG.SetMax(links->RecordCount());
      links->First();
      SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
      redraw_suspended = true;

      std::vector<PendingNode> children;
      while (!links->Eof()) {
        const int32_t self_id = links->FieldByName("SelfID").AsInteger();
        if (AdsTableAdr.Locate("ID", self_id)) {
          const PendingNode owner{NodeTextOf(AdsTableAdr), std::to_string(self_id)};
          entries = ReadLinkList(links->FieldByName("AdressID").AsString());
          children.clear();
          std::string id_text;
          for (const std::string& entry : entries)
            if (LocateEntry(AdsTableAdr, entry, &id_text)) children.push_back({NodeTextOf(AdsTableAdr), id_text});
          std::stable_sort(children.begin(), children.end(), [](const PendingNode& a, const PendingNode& b) {
            return lstrcmpA(a.text.c_str(), b.text.c_str()) < 0;
          });
          if (HTREEITEM item = InsertNode(tree, TVI_ROOT, owner, kOwnerImage, !children.empty()))
            for (const PendingNode& child : children) InsertNode(tree, item, child, kLinkedImage, false);
        }
        links->Next();
        PG.StepBy(1);
        ProcessMessages();
      }
    }
  } catch (...) {
    closing_steps();
    throw;
  }
  closing_steps();
}

}  // namespace zs
