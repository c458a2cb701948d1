#include "ui/materials/CThumbListCtrl.h"

#include "ui/shared/Style.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>

namespace {

// Paints a thumbnail as it is, chosen or not: the selection colour would tint a wood grey. The
// chosen one gets a frame in the program's red instead.
class ChosenFrameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (!(option.state & QStyle::State_Selected))
            return;
        painter->save();
        painter->setPen(QPen(CThumbListCtrl::kChosenFrame, 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

constexpr int kThumb = CThumbListCtrl::kThumbSize;

QImage whiteCanvas() {
    QImage canvas(kThumb, kThumb, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    return canvas;
}

// The item's data role that holds its label as given; the text shown may differ.
constexpr int kKeyRole = Qt::UserRole + 1;

// A file name has no spaces to wrap at: the text shown may break after "_", "-", "." and the
// folder separator (a zero-width space is put there).
QString breakable(const QString& label) {
    QString out;
    out.reserve(label.size() + 8);
    for (QChar c : label) {
        out += c;
        if (c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
            c == QLatin1Char('\\'))
            out += QChar(0x200B);
    }
    return out;
}

QImage unreadablePicture() {
    QImage canvas = whiteCanvas();
    QPainter p(&canvas);
    p.fillRect(canvas.rect().adjusted(4, 4, -4, -4), QColor(225, 225, 225));
    p.setPen(QPen(QColor(150, 150, 150), 2));
    p.drawLine(12, 12, kThumb - 13, kThumb - 13);
    p.drawLine(kThumb - 13, 12, 12, kThumb - 13);
    return canvas;
}

} // namespace

CThumbListCtrl::CThumbListCtrl(QWidget* parent)
    : QListWidget(parent), pool_(new QThreadPool(this)),
      cancel_(std::make_shared<std::atomic<bool>>(false)) {
    // One worker: the pictures of a group are decoded in order, and a group chosen next waits
    // only for the picture in hand of the previous one.
    // One decoder per core: the interface thread only takes the finished thumbnails.
    pool_->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    arrivals_ = new QTimer(this);
    arrivals_->setSingleShot(true);
    connect(arrivals_, &QTimer::timeout, this, &CThumbListCtrl::takeArrivals);
    setViewMode(QListView::IconMode);
    setIconSize(QSize(kThumb, kThumb));
    // Labels in the panel's small font, on two lines when they need them.
    setFont(style::labelFont());
    setWordWrap(true);
    fitGridToWidth();
    setUniformItemSizes(true);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setTextElideMode(Qt::ElideMiddle);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new ChosenFrameDelegate(this));
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QImage blank = whiteCanvas();
    QPainter(&blank).drawRect(0, 0, kThumb - 1, kThumb - 1);
    placeholder_ = QIcon(QPixmap::fromImage(blank));
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit thumbnailClicked(row(item)); });
}

CThumbListCtrl::~CThumbListCtrl() {
    stopLoading();
    pool_->waitForDone();
}

void CThumbListCtrl::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    fitGridToWidth();
}

void CThumbListCtrl::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Never passed on: Enter would reach the main window's dialog handling.
        event->accept();
        if (QListWidgetItem* item = currentItem()) {
            setCurrentItem(item); // selected as a click selects it
            emit thumbnailClicked(row(item));
        }
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CThumbListCtrl::fitGridToWidth() {
    // The grid keeps room for the vertical scroll bar whether it shows or not; the columns
    // share what is left.
    const int scrollBar =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int available = std::max(kMinCellWidth, maximumViewportSize().width() - scrollBar - 1);
    const int columns = std::max(1, available / kMinCellWidth);
    const int textHeight = 2 * fontMetrics().lineSpacing();
    const QSize cell(available / columns, kThumb + textHeight + 12);
    if (gridSize() == cell)
        return;
    setGridSize(cell);
    for (int i = 0; i < count(); ++i)
        item(i)->setSizeHint(itemSize());
}

QSize CThumbListCtrl::itemSize() const {
    // The whole cell but a small gap, so that a long label gets two full lines under the
    // thumbnail before it is shortened.
    return gridSize() - QSize(4, 4);
}

void CThumbListCtrl::stopLoading() {
    cancel_->store(true);
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    ++generation_;
}

QImage CThumbListCtrl::makeThumbnail(const QString& path, const ThumbnailCache& cache) {
    const QImage small = cache.thumbnail(path);
    if (small.isNull())
        return unreadablePicture();
    // A picture of the thumbnail's size is kept whole (the cache never enlarges it).
    const QImage picture =
        small.size() == QSize(kThumb, kThumb)
            ? small
            : small.scaled(kThumb, kThumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage canvas = whiteCanvas();
    QPainter(&canvas).drawImage(0, 0, picture);
    return canvas;
}

QImage CThumbListCtrl::makeThumbnail(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && size != QSize(kThumb, kThumb))
        reader.setScaledSize(QSize(kThumb, kThumb));
    QImage picture = reader.read();
    if (picture.isNull())
        return unreadablePicture();
    if (picture.size() != QSize(kThumb, kThumb))
        picture = picture.scaled(kThumb, kThumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage canvas = whiteCanvas();
    QPainter(&canvas).drawImage(0, 0, picture);
    return canvas;
}

void CThumbListCtrl::rebuild(const QString& imagesFolder, const QStringList& paths,
                             const QStringList& names) {
    stopLoading();
    setUpdatesEnabled(false);
    clear();
    loaded_ = 0;
    QString prefix = imagesFolder;
    if (!prefix.isEmpty() && !prefix.endsWith(QLatin1Char('/')) &&
        !prefix.endsWith(QLatin1Char('\\')))
        prefix += QLatin1Char('/');
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        QString text = path;
        if (!imagesFolder.isEmpty() && path.startsWith(imagesFolder))
            text = path.mid(path.startsWith(prefix) ? prefix.size() : imagesFolder.size());
        // The label is the material's picture key, whose separator is always a backslash.
        text.replace(QLatin1Char('/'), QLatin1Char('\\'));
        auto* item = new QListWidgetItem(placeholder_, breakable(text), this);
        item->setData(kKeyRole, text);
        // The text shown has break points in it; the label is read without them.
        item->setData(Qt::AccessibleTextRole,
                      i < names.size() && !names[i].isEmpty() ? names[i] : text);
        item->setToolTip(text);
        item->setSizeHint(itemSize());
    }
    setUpdatesEnabled(true);
    update();
    loadPending_ = false;
    if (paths.isEmpty())
        return;

    paths_ = paths;
    // A grid not on screen (the other page of the panel) loads its thumbnails when it is shown:
    // the first picture of the window does not wait for them.
    loadPending_ = true;
    if (isVisible())
        startLoading();
}

void CThumbListCtrl::showEvent(QShowEvent* event) {
    QListWidget::showEvent(event);
    if (loadPending_)
        startLoading();
}

void CThumbListCtrl::startLoading() {
    loadPending_ = false;
    const QStringList paths = paths_;
    const quint64 generation = generation_;
    auto cancel = cancel_;
    const ThumbnailCache cache = cache_;
    for (int i = 0; i < paths.size(); ++i) {
        pool_->start([this, path = paths[i], generation, cancel, cache, i] {
            if (cancel->load())
                return;
            QImage image = makeThumbnail(path, cache);
            if (cancel->load())
                return;
            arrived(generation, i, std::move(image));
        });
    }
}

void CThumbListCtrl::arrived(quint64 generation, int item, QImage image) {
    QMutexLocker lock(&arrivedMutex_);
    const bool first = arrivedQueue_.empty();
    arrivedQueue_.push_back({generation, item, std::move(image)});
    if (first)
        QMetaObject::invokeMethod(
            this, [this] { arrivals_->start(0); }, Qt::QueuedConnection);
}

void CThumbListCtrl::takeArrivals() {
    // Thumbnails are taken in slices of a few milliseconds: typing and the sketch get their
    // turn between two slices however many arrive at once.
    QElapsedTimer slice;
    slice.start();
    for (;;) {
        Arrival next;
        {
            QMutexLocker lock(&arrivedMutex_);
            if (arrivedQueue_.empty())
                return;
            next = std::move(arrivedQueue_.front());
            arrivedQueue_.pop_front();
        }
        thumbnailArrived(next.generation, next.item, next.image);
        if (slice.elapsed() >= kSliceMs) {
            QMutexLocker lock(&arrivedMutex_);
            if (!arrivedQueue_.empty())
                arrivals_->start(0);
            return;
        }
    }
}

void CThumbListCtrl::thumbnailArrived(quint64 generation, int item, const QImage& image) {
    if (generation != generation_ || item >= count())
        return;
    QListWidgetItem* it = this->item(item);
    it->setIcon(QIcon(QPixmap::fromImage(image)));
    it->setData(Qt::UserRole, true);
    if (++loaded_ == count())
        emit thumbnailsLoaded();
}

QString CThumbListCtrl::label(int item) const {
    const QListWidgetItem* it = this->item(item);
    return it ? it->data(kKeyRole).toString() : QString();
}

QImage CThumbListCtrl::thumbnail(int item) const {
    const QListWidgetItem* it = this->item(item);
    if (!it || !it->data(Qt::UserRole).toBool())
        return {};
    return it->icon().pixmap(kThumb, kThumb).toImage();
}

bool CThumbListCtrl::waitForThumbnails(int timeoutMs) {
    // A grid not shown does not load: waiting does not start it either.
    if (!thumbnailsPending())
        return true;
    QEventLoop loop;
    connect(this, &CThumbListCtrl::thumbnailsLoaded, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return !thumbnailsPending();
}
