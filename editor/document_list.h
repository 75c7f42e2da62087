// The list of open editor documents and the operations the frame, the
// Assemble command and the Output window use on it.
#pragma once

#include "editor/document_roles.h"
#include "editor/finder.h"
#include "shell/services.h"

#include <QPointer>

#include <optional>
#include <string>
#include <vector>

namespace torva {

class ChildArea;
class DocumentWindow;

class EditorDocuments final : public DocumentService {
public:
    EditorDocuments() = default;
    ~EditorDocuments() override;
    EditorDocuments(const EditorDocuments&) = delete;
    EditorDocuments& operator=(const EditorDocuments&) = delete;

    // The frame's area that holds the documents and what they ask of the
    // frame; set once it exists.
    void attach(ChildArea& area, DocumentRoles frame);

    QWidget* open_document(bool is_new, const std::string& path, int line) override;
    std::string document_path(const QWidget* widget) const override;
    QWidget* find_document(const std::string& path) const override;
    bool any_document_open() const override { return !documents_.empty(); }
    void save_all_modified() override;
    bool save_modified_sources() override;
    void clear_line_marks() override;
    int run_goto_line(QWidget* owner) override;
    std::string most_recent_source() const override;

    // The document on top of the frame's area, or null.
    DocumentWindow* active_document() const;
    // In the order they were opened.
    std::vector<DocumentWindow*> documents() const;

    // Called by the document windows themselves.
    void append(DocumentWindow* document);
    void unlink(DocumentWindow* document);
    // The document became the active one.
    void note_active(DocumentWindow* document);
    // Brings the document to the front of the frame's area.
    void bring_to_front(DocumentWindow& document);

    // What the documents ask of the frame; null before it exists.
    const DocumentRoles* frame() const { return frame_ ? &*frame_ : nullptr; }
    // Find and replace over these documents; its state lives for the run.
    Finder& finder() { return finder_; }

private:
    DocumentWindow* as_document(const QWidget* widget) const;

    ChildArea* area_ = nullptr;
    std::optional<DocumentRoles> frame_;
    std::vector<QPointer<DocumentWindow>> documents_;
    // The most recently active last.
    std::vector<QPointer<DocumentWindow>> activations_;
    Finder finder_{*this};
    // Where the next document window opens (cascading).
    int next_x_ = 0;
    int next_y_ = 0;
};

} // namespace torva
