#include "ui/SheetModel.h"

#include <exception>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/sim/SimRange.h"
#include "automation/sim/SimRangeValues.h"
#include "automation/sim/SimWorksheet.h"
#include "ui/Text.h"

namespace tessaline::ui {

namespace {

using automation::Variant;

const Variant* storedAt(const automation::sim::SimWorksheet* sheet, const QModelIndex& index) {
    if (sheet == nullptr || !index.isValid()) return nullptr;
    return sheet->cells().find(index.row() + 1, index.column() + 1);
}

}  // namespace

SheetModel::SheetModel(QObject* parent) : QAbstractTableModel(parent) {}

void SheetModel::setSheet(std::shared_ptr<automation::sim::SimWorksheet> sheet) {
    if (sheet == sheet_) return;
    sheet_ = std::move(sheet);
    shownRevision_ = sheet_ ? sheet_->cells().revision() : 0;
    // The size stays that of every sheet, so the view keeps its headers and only repaints.
    repaintAll();
}

void SheetModel::refresh() {
    if (!sheet_ || sheet_->cells().revision() == shownRevision_) return;
    shownRevision_ = sheet_->cells().revision();
    repaintAll();
}

void SheetModel::repaintAll() { emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); }

std::string SheetModel::enter(int row, int column, const std::string& text) {
    if (!sheet_) return "没有可编辑的工作表";
    try {
        sheet_->Cells(row + 1, column + 1)->SetValue(Variant(text));
    } catch (const automation::AutomationError& e) {
        refresh();
        return e.description();
    } catch (const std::exception& e) {
        refresh();
        return e.what();
    }
    refresh();
    if (onEntered) onEntered();
    return {};
}

int SheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : automation::xl::MaxRows; }

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : automation::xl::MaxColumns;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    const Variant* stored = storedAt(sheet_.get(), index);
    if (stored == nullptr) return {};
    switch (role) {
        case Qt::DisplayRole:
            return toQ(automation::sim::displayedText(*stored));
        case Qt::EditRole: {
            // A text that would read as a number or a Boolean when entered again gets the apostrophe that
            // keeps it text, as Excel's formula bar shows it.
            std::string text = automation::sim::formulaText(*stored);
            if (stored->isString() && !text.empty()) {
                bool staysText = text.front() != '\'';
                try {
                    staysText = staysText && automation::sim::storedCellValue(Variant(text)).isString();
                } catch (const std::exception&) {
                    staysText = false;
                }
                if (!staysText) text.insert(text.begin(), '\'');
            }
            return toQ(text);
        }
        case Qt::ToolTipRole: {
            // A text wider than its column is cut off, as Excel cuts it beside a filled cell; the tip shows it.
            const QString text = toQ(automation::sim::displayedText(*stored));
            return text.size() > 10 ? QVariant(text) : QVariant();
        }
        case Qt::TextAlignmentRole:
            // Excel's General alignment: numbers to the right, TRUE/FALSE centred, text to the left.
            if (stored->isNumber()) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            if (stored->isBool()) return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return toQ(automation::sim::columnLetters(section + 1));
    return section + 1;
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (sheet_) flags |= Qt::ItemIsEditable;
    return flags;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const std::string error = enter(index.row(), index.column(), toStd(value.toString()));
    if (error.empty()) return true;
    if (onRefused) onRefused(error);
    return false;
}

}  // namespace tessaline::ui
