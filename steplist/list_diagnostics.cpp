#include "list_diagnostics.h"

#include <cstdio>

const char* DiagnosticText(ListDiagnostic diagnostic) {
    switch (diagnostic) {
    case ListDiagnostic::AddressError: return "链表查找地址出错";
    case ListDiagnostic::InsertOutOfBounds: return "链表添加查找超出边界";
    case ListDiagnostic::InsertWalkTooFar: return "链表添加查找运行出错";
    case ListDiagnostic::InsertLookupError: return "链表添加查找错误";
    case ListDiagnostic::DeleteOutOfBounds: return "链表删减查找超出边界";
    case ListDiagnostic::CannotDeleteOnly: return "不能删除链表唯一成员";
    }
    return "";
}

namespace {
class StderrSink final : public DiagnosticSink {
public:
    void ShowDiagnostic(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
};
}  // namespace

DiagnosticSink& StandardErrorSink() {
    static StderrSink sink;
    return sink;
}
