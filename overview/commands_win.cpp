// The overview's commands: details (the show-address request to the host),
// remove, reload, and the search box's keys and find-next.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/main_window.h"
#include "overview/show_address.h"
#include "overview/tree_items_win.h"
#include "overview/tree_search.h"
#include "storage/link_table.h"
#include "ui/user_seams.h"

namespace zs {
namespace {

constexpr const char* kSelectAndStartHost = "Markieren Sie einen Eintrag und starten Sie Velto.";

// The texts of the tree's nodes by display index, read only as far as the search gets.
class TreeNodeTexts final : public TNodeTexts {
 public:
  explicit TreeNodeTexts(HWND tree) : tree_(tree), items_(ItemsInDisplayOrder(tree)) {}
  int count() const override { return static_cast<int>(items_.size()); }
  std::string text(int index) const override { return ItemText(tree_, items_[static_cast<size_t>(index)]); }
  HTREEITEM item(int index) const { return items_[static_cast<size_t>(index)]; }

 private:
  HWND tree_;
  std::vector<HTREEITEM> items_;
};

}  // namespace

HWND TFAdressExtremeLinks::FindHostWindow() { return FindWindowA(kHostWindowClass, nullptr); }

void TFAdressExtremeLinks::FlatButton4Click() {
  HWND host = FindHostWindow();
  HWND tree = Tree.Handle();
  HTREEITEM selected = TreeView_GetSelection(tree);
  if (!selected || !host) {
    ShowNoteBox(kSelectAndStartHost);
    return;
  }
  const TID* payload = ItemPayload(tree, selected);
  TShowAddressRequest request = MakeShowAddressRequest(payload ? payload->IDText : std::string());
  COPYDATASTRUCT cds{};
  cds.dwData = request.dwData;
  cds.cbData = request.cbData();
  cds.lpData = request.payload.data();
  // A host that hangs must not freeze the overview: give up after the
  // timeout (at once when Windows already counts it as hung). A working host
  // still handles the request before the call returns; messages sent to us
  // meanwhile are handled as during SendMessage, and a close they ask for
  // waits until the request is done.
  TBusyScope busy(*this);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(host, WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()), reinterpret_cast<LPARAM>(&cds),
                      SMTO_NORMAL | SMTO_ABORTIFHUNG, kShowAddressTimeoutMs, &result);
}

void TFAdressExtremeLinks::FlatButton3Click() {
  HWND tree = Tree.Handle();
  HTREEITEM selected = TreeView_GetSelection(tree);
  if (!selected || !LinkTable_) return;
  HTREEITEM parent = TreeView_GetParent(tree, selected);
  if (!parent) return;
  const TID* linked = ItemPayload(tree, selected);
  const TID* owner = ItemPayload(tree, parent);
  if (!linked || !owner) return;
  // Copies: the callback removes the nodes that hold these payloads.
  const std::string linked_id = linked->IDText;
  const std::string owner_id = owner->IDText;
  if (!LinkTable_->GetTable().Locate("SelfID", std::string_view(owner_id))) return;
  LastRemovedIndex = IndexOfNode(TTreeItems(tree), selected);
  LinkTable_->RemoveLink(owner_id, linked_id, [this](const std::string& o, const std::string& l) {
    RemoveLinkedNode(o, l);
  });
  // The tree reselects by itself when the selected node goes and TreeChange
  // follows; when nothing is left to select no change event comes.
  TreeChange();
}

void TFAdressExtremeLinks::RemoveLinkedNode(const std::string& owner_id, const std::string& linked_id) {
  HWND tree = Tree.Handle();
  HTREEITEM owner = TreeView_GetRoot(tree);
  for (; owner; owner = TreeView_GetNextSibling(tree, owner)) {
    const TID* p = ItemPayload(tree, owner);
    if (p && p->IDText == owner_id) break;
  }
  if (!owner) return;
  for (HTREEITEM child = TreeView_GetChild(tree, owner); child; child = TreeView_GetNextSibling(tree, child)) {
    const TID* p = ItemPayload(tree, child);
    if (!p || p->IDText != linked_id) continue;
    TreeView_DeleteItem(tree, child);  // releases the payload (TVN_DELETEITEM)
    if (!TreeView_GetChild(tree, owner)) TreeView_DeleteItem(tree, owner);
    return;
  }
}

void TFAdressExtremeLinks::FlatButton2Click() {
  if (LinkTable_) {  // none when the start did not connect
    TAdsTable& links = LinkTable_->GetTable();
    links.Close();
    links.Open();
  }
  FillLinkTree();
}

bool TFAdressExtremeLinks::dfindKeyDown(WORD key) {
  HWND tree = Tree.Handle();
  switch (key) {
    case VK_RETURN:
      dfindButtonClick();
      return true;
    case VK_UP:
    case VK_DOWN: {
      HTREEITEM selected = TreeView_GetSelection(tree);
      if (!selected) return false;
      TTreeItems shape(tree);
      HTREEITEM to = key == VK_UP ? DisplayPrev(shape, selected) : DisplayNext(shape, selected);
      if (to) TreeView_SelectItem(tree, to);
      return false;
    }
    default:
      return false;
  }
}

void TFAdressExtremeLinks::dfindButtonClick() {
  HWND tree = Tree.Handle();
  TreeNodeTexts nodes(tree);
  TFindState state{LastFindText, LastFindIndex};
  const TFindResult r = FindNext(nodes, dfind.Text(), state);
  LastFindText = state.LastFindText;
  LastFindIndex = state.LastFindIndex;
  if (r.select >= 0) TreeView_SelectItem(tree, nodes.item(r.select));
  if (!SoundOn_) return;
  if (r.sound == TFindSound::Wave1) Wave1.Play();
  if (r.sound == TFindSound::Wave2) Wave2xxxx.Play();
}

}  // namespace zs
