// Tooltips over symbols: the word under the mouse looked up in the map.
#include "app/symbol_hover.h"

#include "app/source_marks.h"
#include "asm/directives.h"
#include "editor/document_list.h"
#include "editor/document_window.h"
#include "editor/sci_messages.h"
#include "sim/debug_map.h"
#include "sim/simulator.h"
#include "sim/symbol_tip.h"

#include <Qsci/qsciscintillabase.h>

#include <QHelpEvent>
#include <QToolTip>

#include <fstream>

namespace torva {

std::string SymbolHover::source_line(const std::string& path, int line) const {
    if (const auto* open = static_cast<const DocumentWindow*>(documents_.find_document(path))) {
        const SciCall& sci = open->sci();
        if (line < 1 || line > sci.line_count()) return {};
        return sci.text_range(sci.position_from_line(line - 1),
                              sci.send(sci::SCI_GETLINEENDPOSITION, line - 1));
    }
    std::ifstream file(path);
    std::string text;
    for (int number = 1; number <= line && std::getline(file, text); ++number)
        if (number == line) return text;
    return {};
}

std::string SymbolHover::tip_at(const DocumentWindow& document, long position) const {
    if (sim_.running() || position < 0) return {};
    const std::shared_ptr<const DebugMap> map = sim_.load_file().debug_map;
    if (!map || marks_.file_of(*map, document.path()) < 0) return {};
    const SciCall& sci = document.sci();
    const long start =
        sci.send(sci::SCI_WORDSTARTPOSITION, static_cast<unsigned long>(position), 1);
    const long end = sci.send(sci::SCI_WORDENDPOSITION, static_cast<unsigned long>(position), 1);
    if (start >= end) return {};
    const DebugMapSymbol* symbol = map->symbol(sci.text_range(start, end));
    if (symbol == nullptr) return {};
    bool data_line = false;
    if (symbol->kind == SymbolKind::kLabel && symbol->file >= 0)
        data_line = is_data_line(
            source_line(debug_map_source_path(*map, symbol->file, sim_.load_file().load_file_path),
                        symbol->line));
    return symbol_tip(*symbol, is_data_label(*map, *symbol, data_line), sim_.board().memory());
}

bool SymbolHover::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    for (const DocumentWindow* document : documents_.documents()) {
        QWidget* area = document->component().viewport();
        if (watched != area) continue;
        const auto* help = static_cast<QHelpEvent*>(event);
        const long position =
            document->sci().send(sci::SCI_POSITIONFROMPOINTCLOSE,
                                 static_cast<unsigned long>(help->pos().x()), help->pos().y());
        const std::string tip = tip_at(*document, position);
        if (tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), QString::fromStdString(tip), area);
        return true;
    }
    return false;
}

} // namespace torva
