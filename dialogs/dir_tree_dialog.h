// DirTreeDialog: the modal folder browser. Shows the device's folder tree from its root and
// hands back the folder the user confirmed with OK as an absolute path ("\", "\A\B").
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "framework/attribute_list.h"
#include "framework/controls/image_list_holder.h"
#include "framework/controls/tree_view_ctrl.h"
#include "framework/dialog/modal_dialog.h"
#include "framework/records.h"

class DirTreeDialog : public ModalDialog {
public:
    static constexpr int kTreeId = 3001;

    DirTreeDialog(Window* owner, AttributeList& attributes);
    ~DirTreeDialog() override;

    // wcsncpy semantics: at most count characters, no terminator when the path fills them.
    void CopyPath(wchar_t* destination, size_t count) const;

    // The path chosen with OK, or none while the dialog runs and after Cancel.
    const wchar_t* SelectedPath() const { return selectedPath_; }

    LRESULT OnInitDialog(MessageRecord& record) override;
    void EndModal(INT_PTR value) override;

private:
    void OnOk(EventRecord& record);
    void OnItemExpanding(EventRecord& record);
    void Fill(HTREEITEM parent, const wchar_t* folderPath);
    bool ItemPath(HTREEITEM item, wchar_t* path, size_t capacity) const;
    void ReleaseTree();

    wchar_t* selectedPath_;
    TreeViewCtrl* tree_;
    ImageListHolder* images_;
};
