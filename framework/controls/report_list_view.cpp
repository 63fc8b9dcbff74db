// ReportListView: report style on creation, full-row selection added afterwards.
#include "framework/controls/report_list_view.h"

namespace {

AttributeList& WithReportDefaults(AttributeList& attributes)
{
    return attributes.Add(Key::Style, LVS_REPORT).Add(Key::ExStyle, WS_EX_TRANSPARENT);
}

}  // namespace

ReportListView::ReportListView(Window* parent, const wchar_t* title, AttributeList& attributes)
    : ListViewCtrl(parent, title, WithReportDefaults(attributes))
{
    if (Handle() == nullptr) return;
    SetExtendedListViewStyle(GetExtendedListViewStyle() | LVS_EX_FULLROWSELECT);
}

ReportListView::~ReportListView() = default;
