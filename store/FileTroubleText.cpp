#include "store/FileTroubleText.h"

#include "store/NoteStore.h"
#include "store/WholeFile.h"

namespace almanac {
namespace {

std::string Quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

}  // namespace

TroubledFile NoteFile(std::string_view path) {
    return {"记事文件", path, "能读出的记事", "其中的记事暂不显示；在能读取之前，这个文件不会被改写。"};
}

TroubledFile MemoFile(std::string_view path) {
    return {"备忘", path, "能读出的部分", "在能读取之前，记事小本不显示也不改写它，并会不断重试。"};
}

std::string NoteFileTroubleText(const NoteTable& table) {
    const TroubledFile file = NoteFile(table.Path());
    if (table.FoundState() == NoteTable::LoadState::Unreadable)
        return UnreadableFileText(file, table.LastSystemError());
    return DamagedFileText(file, table.DamagedCopyPath(), table.LastSystemError());
}

std::string UnreadableFileText(const TroubledFile& file, int systemError) {
    return "无法读取" + std::string(file.kind) + Quoted(file.path) + "：" + SystemErrorText(systemError) + "。" +
           std::string(file.whileUnreadable);
}

std::string OversizedFileText(const TroubledFile& file) {
    return std::string(file.kind) + Quoted(file.path) + "大得不像本程序写过的文件，所以没有读入，也不会被改写。";
}

std::string DamagedFileText(const TroubledFile& file, std::string_view copyPath, int systemError) {
    std::string text = std::string(file.kind) + Quoted(file.path) + "已损坏，只显示了" + std::string(file.shownPart) + "。";
    if (!copyPath.empty()) return text + "原文件已原样保存为" + Quoted(copyPath) + "。";
    return text + "原文件无法另存（" + SystemErrorText(systemError) + "），所以不会被改写。";
}

}  // namespace almanac
