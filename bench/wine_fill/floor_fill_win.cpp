#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/wine_fill/floor_fill.h"
#include "overview/address_name.h"
#include "overview/tid.h"
#include "storage/database.h"
#include "storage/link_list.h"
#include "storage/link_table.h"

namespace zs::bench {
namespace {

struct Node {
  std::string text, id;
};

std::string NodeText(TAdsTable& adr) {
  const std::string abt = adr.FieldByName("Abt").AsString(), nname = adr.FieldByName("NName").AsString(),
                    vname = adr.FieldByName("VName").AsString(), knr = adr.FieldByName("KNR").AsString(),
                    gr = adr.FieldByName("GR").AsString();
  return AddressNodeText({abt, nname, vname, knr, gr});
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TVN_DELETEITEMA)
    delete reinterpret_cast<TID*>(reinterpret_cast<NMTREEVIEWA*>(lp)->itemOld.lParam);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, const Node& n, int image, bool expanded) {
  TVINSERTSTRUCTA is{};
  is.hParent = parent;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  is.item.pszText = const_cast<char*>(n.text.c_str());
  is.item.lParam = reinterpret_cast<LPARAM>(new TID{n.id});
  is.item.iImage = is.item.iSelectedImage = image;
  is.item.stateMask = TVIS_EXPANDED;
  is.item.state = expanded ? TVIS_EXPANDED : 0;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
}

int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM texts) {
  auto& m = *reinterpret_cast<std::unordered_map<LPARAM, std::string>*>(texts);
  return lstrcmpA(m[a].c_str(), m[b].c_str());
}

}  // namespace

TFloorResult RunFloorFill(const std::string& dir) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ZsFloorFill";
  RegisterClassA(&wc);
  HWND main = CreateWindowExA(0, wc.lpszClassName, "floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 486, 204, 330, 250,
                              nullptr, nullptr, wc.hInstance, nullptr);
  HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                  TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS | TVS_DISABLEDRAGDROP,
                              0, 57, 322, 120, main, nullptr, wc.hInstance, nullptr);
  // The overview's tree font: text metrics are part of every insert.
  LOGFONTA lf{};
  lf.lfHeight = -12;
  lstrcpyA(lf.lfFaceName, "Tahoma");
  HFONT font = CreateFontIndirectA(&lf);
  SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);

  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  TFloorResult out;
  {
    TAdsConnection connection(nullptr, "FloorConnection");
    connection.SetConnectPath(dir);
    connection.SetAdsServerTypes(stADS_LOCAL);
    connection.SetIsConnected(true);
    TAdsTable adr(nullptr, "FloorAdr");
    adr.SetAdsConnection(&connection);
    adr.SetTableName("Adressen.adt");
    adr.Open();
    adr.SetIndexName("ID");
    TLinkTableClass link_table(&connection, true);
    TAdsTable& links = link_table.GetTable();

    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    std::vector<Node> children;
    links.First();
    while (!links.Eof()) {
      const int32_t self = links.FieldByName("SelfID").AsInteger();
      if (adr.Locate("ID", self)) {
        Node owner{NodeText(adr), std::to_string(self)};
        children.clear();
        for (const std::string& e : ReadLinkList(links.FieldByName("AdressID").AsString())) {
          int32_t id = 0;
          for (char c : e) id = id * 10 + (c - '0');
          if (adr.Locate("ID", id)) children.push_back({NodeText(adr), e});
        }
        std::sort(children.begin(), children.end(),
                  [](const Node& a, const Node& b) { return lstrcmpA(a.text.c_str(), b.text.c_str()) < 0; });
        HTREEITEM o = Insert(tree, TVI_ROOT, owner, 0, !children.empty());
        for (const Node& c : children) Insert(tree, o, c, 1, false);
      }
      links.Next();
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    std::unordered_map<LPARAM, std::string> texts;
    char buf[1024];
    for (HTREEITEM i = TreeView_GetRoot(tree); i; i = TreeView_GetNextSibling(tree, i)) {
      TVITEMA it{};
      it.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
      it.hItem = i;
      it.pszText = buf;
      it.cchTextMax = sizeof buf;
      SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
      texts.emplace(it.lParam, buf);
    }
    TVSORTCB sort{TVI_ROOT, Compare, reinterpret_cast<LPARAM>(&texts)};
    SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    UpdateWindow(tree);
    out.nodes = static_cast<int>(TreeView_GetCount(tree));
  }
  QueryPerformanceCounter(&t1);
  out.seconds = double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
  DestroyWindow(main);
  DeleteObject(font);
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  return out;
}

}  // namespace zs::bench
