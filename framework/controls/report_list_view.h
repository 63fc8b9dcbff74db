// ReportListView: a ListViewCtrl in report view with full-row selection.
#pragma once

#include "framework/controls/list_view_ctrl.h"

class ReportListView : public ListViewCtrl {
public:
    ReportListView(Window* parent, const wchar_t* title, AttributeList& attributes);
    ~ReportListView() override;
};
