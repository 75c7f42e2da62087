// Build tool: draws the manual's diagrams, the board's memory map and the
// serial line between terminal, board and monitor, as PNG files into the
// directory given.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kInk(0x20, 0x28, 0x30);
const QColor kMuted(0x60, 0x68, 0x70);

struct Region {
    const char* from;
    const char* to;
    const char* name;
    const char* note;
    QColor fill;
    int height; // drawn height, not to scale: small regions matter as much
};

// The CPU's 64 KB as a program sees it on the board with the I/O bus, top
// address last.
constexpr Region kMap[] = {
    {"$0000", "$03FF", "On-chip registers", "ports, timer, serial interfaces at $C8 and $D0",
     QColor(0xF6, 0xD8, 0x8E), 44},
    {"$0400", "$0FFF", "I/O bus", "devices: LEDs $400, switches $600, printer $800, ...",
     QColor(0xF4, 0xB9, 0x9A), 44},
    {"$1000", "$3C7F", "RAM: yours", "program, data and stack (SP = $3C80)",
     QColor(0xB7, 0xE0, 0xB0), 70},
    {"$3C80", "$3F7F", "RAM: the monitor's", "its stack and variables", QColor(0xCF, 0xE6, 0xCB),
     30},
    {"$3F80", "$3FFF", "RAM: vector slots", "your interrupt handlers' addresses",
     QColor(0xCF, 0xE6, 0xCB), 30},
    {"$4000", "$7FFF", "Flash, page $3E", "fixed", QColor(0xC8, 0xD8, 0xF0), 44},
    {"$8000", "$BFFF", "Flash page window", "the page PPAGE selects", QColor(0xDA, 0xE4, 0xF6), 44},
    {"$C000", "$FFFF", "Flash, page $3F: the monitor",
     "its code, routines at $FE00 and $EE80, vectors at $FF80", QColor(0xC8, 0xD8, 0xF0), 56},
};

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

void draw_memory_map(QPainter& p) {
    const int left = 90;
    const int width = 220;
    int top = 40;
    p.setPen(kInk);
    p.setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));
    p.drawText(QPoint(left, 26), QStringLiteral("The RT12's memory map"));
    QFont label(QStringLiteral("Arial"), 10);
    QFont mono(QStringLiteral("Courier New"), 10);
    for (const Region& r : kMap) {
        const QRect box(left, top, width, r.height);
        p.fillRect(box, r.fill);
        p.setPen(kInk);
        p.drawRect(box);
        p.setFont(mono);
        p.drawText(QRect(4, top, left - 10, 16), Qt::AlignRight | Qt::AlignTop,
                   QString::fromLatin1(r.from));
        p.setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
        p.drawText(box.adjusted(8, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(r.name));
        p.setFont(label);
        p.setPen(kMuted);
        p.drawText(QRect(left + width + 12, top, 390, r.height),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   QString::fromLatin1(r.note));
        top += r.height;
    }
    p.setPen(kInk);
    p.setFont(mono);
    p.drawText(QRect(4, top - 16, left - 10, 16), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("$FFFF"));
}

// A box with a title and a line of detail under it.
void node(QPainter& p, const QRect& box, const QString& title, const QString& detail,
          const QColor& fill) {
    QPainterPath path;
    path.addRoundedRect(box, 8, 8);
    p.fillPath(path, fill);
    p.setPen(QPen(kInk, 1.5));
    p.drawPath(path);
    p.setFont(QFont(QStringLiteral("Arial"), 11, QFont::Bold));
    p.drawText(box.adjusted(6, 8, -6, 0), Qt::AlignHCenter | Qt::AlignTop, title);
    p.setFont(QFont(QStringLiteral("Arial"), 9));
    p.setPen(kMuted);
    p.drawText(box.adjusted(8, 30, -8, -6), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               detail);
}

// A line with arrow heads at both ends and a label above it.
void link(QPainter& p, QPoint from, QPoint to, const QString& above, const QString& below) {
    p.setPen(QPen(kInk, 2));
    p.drawLine(from, to);
    for (const auto& [tip, dir] : {std::pair{from, 1}, std::pair{to, -1}}) {
        QPolygon head;
        head << tip << tip + QPoint(dir * 9, -5) << tip + QPoint(dir * 9, 5);
        p.setBrush(kInk);
        p.drawPolygon(head);
    }
    p.setFont(QFont(QStringLiteral("Arial"), 9));
    const QRect span(from.x(), from.y() - 34, to.x() - from.x(), 30);
    p.drawText(span, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, above);
    p.setPen(kMuted);
    p.drawText(QRect(from.x(), from.y() + 6, to.x() - from.x(), 40),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, below);
}

void draw_serial_line(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kInk);
    p.setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));
    p.drawText(QPoint(20, 26), QStringLiteral("The serial line: terminal, board, monitor"));
    const QRect terminal(20, 60, 170, 110);
    const QRect sci(330, 60, 150, 110);
    const QRect program(620, 45, 180, 55);
    const QRect monitor(620, 122, 180, 55);
    node(p, terminal, QStringLiteral("Terminal window"),
         QStringLiteral("what you type goes out; what the board sends shows; Load New"),
         QColor(0xDA, 0xE4, 0xF6));
    node(p, sci, QStringLiteral("Serial interface 0"),
         QStringLiteral("registers at $C8-$CF, 9600 baud"), QColor(0xF6, 0xD8, 0x8E));
    node(p, program, QStringLiteral("Your program"), QStringLiteral("after g 1000"),
         QColor(0xB7, 0xE0, 0xB0));
    node(p, monitor, QStringLiteral("The monitor"), QStringLiteral("prompt >, L, G, MD, ..."),
         QColor(0xC8, 0xD8, 0xF0));
    link(p, QPoint(terminal.right() + 4, 115), QPoint(sci.left() - 4, 115),
         QStringLiteral("RT12 Simulator SCI0"), QStringLiteral("or a cable to the real board"));
    link(p, QPoint(sci.right() + 4, 72), QPoint(program.left() - 4, 72), QString(), QString());
    link(p, QPoint(sci.right() + 4, 150), QPoint(monitor.left() - 4, 150), QString(), QString());
    p.setPen(kMuted);
    p.setFont(QFont(QStringLiteral("Arial"), 9));
    p.drawText(QRect(330, 188, 470, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("On the board the monitor owns the line until g starts your "
                              "program; your program may send on it too (PUTCHAR at $FE00)."));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-directory\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "%s: cannot make %s\n", argv[0], argv[1]);
        return 1;
    }
    struct Picture {
        const char* name;
        QSize size;
        void (*draw)(QPainter&);
    };
    for (const Picture& picture : {Picture{"memory_map.png", {720, 420}, draw_memory_map},
                                   Picture{"serial_line.png", {820, 240}, draw_serial_line}}) {
        QImage image = canvas(picture.size.width(), picture.size.height());
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        picture.draw(painter);
        painter.end();
        const QString file = out.filePath(QString::fromLatin1(picture.name));
        if (!image.save(file)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
            return 1;
        }
    }
    return 0;
}
