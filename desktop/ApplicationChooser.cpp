#include "ApplicationChooser.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace lumivoke::desktop {

/// The rows of the chooser's model as Qt's list view asks for them; icons are looked up when
/// a row is first drawn, so opening the chooser does not wait for every icon of the system.
class ChooserListModel final : public QAbstractListModel {
public:
    ChooserListModel(const ApplicationChooserModel& model, QIcon generic, QSize iconSize,
                     QObject* parent)
        : QAbstractListModel(parent),
          model_(model),
          generic_(std::move(generic)),
          iconSize_(iconSize) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(model_.count());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || static_cast<std::size_t>(index.row()) >= model_.count()) {
            return {};
        }
        const ChooserRow& row = model_.row(static_cast<std::size_t>(index.row()));
        switch (role) {
            case Qt::DisplayRole: {
                QString text = QString::fromStdString(row.name);
                if (!row.detail.empty()) {
                    text += QStringLiteral("  (%1)").arg(QString::fromStdString(row.detail));
                }
                return text;
            }
            case Qt::ToolTipRole:
                return QString::fromStdString(row.path);
            case Qt::DecorationRole:
                return icon(row);
            default:
                return {};
        }
    }

    /// The rows changed as a whole (a new filter).
    void reset() {
        beginResetModel();
        endResetModel();
    }

private:
    QIcon icon(const ChooserRow& row) const {
        const QString key = QString::fromStdString(row.id);
        if (const auto it = icons_.constFind(key); it != icons_.cend()) {
            return *it;
        }
        QIcon icon = generic_;
        const QString value = QString::fromStdString(row.icon.value);
        if (row.icon.kind == ChooserIcon::Kind::file && QFileInfo(value).isFile()) {
            icon = QIcon(value);
        } else if (row.icon.kind == ChooserIcon::Kind::themeName) {
            icon = QIcon::fromTheme(value, generic_);
        }
        icon = squared(icon);
        icons_.insert(key, icon);
        return icon;
    }

    /// The icon drawn to fill a square of the list's icon size: icons come in whatever sizes
    /// their themes have (a 16-pixel one, a 256-pixel one), and rows of one height with their
    /// names in one column need every icon the same size.
    QIcon squared(const QIcon& icon) const {
        const qreal ratio = qApp->devicePixelRatio();
        const QSize size = iconSize_ * ratio;
        QPixmap picture = icon.pixmap(iconSize_, ratio);
        if (picture.isNull()) {
            picture = generic_.pixmap(iconSize_, ratio);
        }
        if (picture.size() != size) {
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        QPixmap canvas(size);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawPixmap((size.width() - picture.width()) / 2,
                           (size.height() - picture.height()) / 2, picture);
        painter.end();
        canvas.setDevicePixelRatio(ratio);
        return QIcon(canvas);
    }

    const ApplicationChooserModel& model_;
    QIcon generic_;
    QSize iconSize_;
    mutable QHash<QString, QIcon> icons_;
};

ApplicationChooser::ApplicationChooser(ApplicationChooserModel& model, const QString& title,
                                       const QString& addTitle, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(title);
    setObjectName(QStringLiteral("applicationChooser"));
    resize(440, 520);

    const QIcon generic = QIcon::fromTheme(QStringLiteral("application-x-executable"),
                                           style()->standardIcon(QStyle::SP_FileIcon));
    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
    rows_ = new ChooserListModel(model_, generic, QSize(iconSize, iconSize), this);

    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(QString::fromUtf8(ApplicationChooserModel::searchHint.data(),
                                                  ApplicationChooserModel::searchHint.size()));
    filter_->setClearButtonEnabled(true);

    list_ = new QListView(this);
    list_->setModel(rows_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformItemSizes(true);
    list_->setIconSize(QSize(iconSize, iconSize));
    list_->setSpacing(1);

    placeholder_ = new QLabel(this);
    placeholder_->setAlignment(Qt::AlignCenter);
    placeholder_->setEnabled(false);  // drawn as secondary text
    stack_ = new QStackedWidget(this);
    stack_->addWidget(list_);
    stack_->addWidget(placeholder_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8(ApplicationChooserModel::cancelTitle.data(),
                                         ApplicationChooserModel::cancelTitle.size()),
                       QDialogButtonBox::RejectRole);
    add_ = buttons->addButton(addTitle, QDialogButtonBox::AcceptRole);
    add_->setDefault(true);
    add_->setAutoDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(stack_, 1);
    layout->addWidget(buttons);

    connect(filter_, &QLineEdit::textChanged, this, &ApplicationChooser::filterChanged);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!showing_ && current.isValid()) {
                    model_.select(static_cast<std::size_t>(current.row()));
                    add_->setEnabled(model_.chosenPath().has_value());
                }
            });
    connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            model_.select(static_cast<std::size_t>(index.row()));
            addIfChosen();
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &ApplicationChooser::addIfChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The filter keeps the keyboard: the arrows move through the list from it, and typing in
    // the list goes to it.
    filter_->installEventFilter(this);
    list_->installEventFilter(this);
    filter_->setFocus();
    showRows();
}

ApplicationChooser::~ApplicationChooser() = default;

bool ApplicationChooser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Up:
            model_.moveSelection(-1);
            break;
        case Qt::Key_Down:
            model_.moveSelection(1);
            break;
        case Qt::Key_PageUp:
            model_.moveSelection(-pageRows());
            break;
        case Qt::Key_PageDown:
            model_.moveSelection(pageRows());
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            addIfChosen();
            return true;
        default:
            if (watched == list_ && !key->text().isEmpty() && key->text().at(0).isPrint() &&
                (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0) {
                filter_->setFocus();
                filter_->insert(key->text());
                return true;
            }
            return QDialog::eventFilter(watched, event);
    }
    showSelection();
    return true;
}

void ApplicationChooser::filterChanged(const QString& text) {
    model_.setFilter(text.toStdString());
    showRows();
}

void ApplicationChooser::showRows() {
    showing_ = true;
    rows_->reset();
    showing_ = false;
    const std::string_view placeholder = model_.placeholder();
    placeholder_->setText(
        QString::fromUtf8(placeholder.data(), static_cast<qsizetype>(placeholder.size())));
    stack_->setCurrentWidget(placeholder.empty() ? static_cast<QWidget*>(list_) : placeholder_);
    showSelection();
}

void ApplicationChooser::showSelection() {
    showing_ = true;
    if (const auto selected = model_.selection()) {
        const QModelIndex index = rows_->index(static_cast<int>(*selected));
        list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        list_->scrollTo(index);
    } else {
        list_->selectionModel()->clearSelection();
    }
    showing_ = false;
    add_->setEnabled(model_.chosenPath().has_value());
}

int ApplicationChooser::pageRows() const {
    const int rowHeight = list_->sizeHintForRow(0);
    return rowHeight > 0 ? std::max(1, list_->viewport()->height() / rowHeight - 1) : 10;
}

void ApplicationChooser::addIfChosen() {
    if (model_.chosenPath()) {
        accept();
    }
}

}  // namespace lumivoke::desktop
