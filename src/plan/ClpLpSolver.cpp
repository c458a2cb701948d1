#include "plan/ClpLpSolver.h"

#include <ClpSimplex.hpp>

std::unique_ptr<LpSolver> makeLpSolver() {
    return std::make_unique<ClpLpSolver>();
}

ClpLpSolver::ClpLpSolver() : model_(std::make_unique<ClpSimplex>()) {
    model_->setLogLevel(0);
    model_->setOptimizationDirection(1.0);
}

ClpLpSolver::~ClpLpSolver() = default;

int ClpLpSolver::addRow(double lower, double upper) {
    model_->addRow(0, nullptr, nullptr, lower, upper);
    solved_ = false;
    return model_->numberRows() - 1;
}

void ClpLpSolver::setRowBounds(int row, double lower, double upper) {
    model_->setRowBounds(row, lower, upper);
    solved_ = false;
}

int ClpLpSolver::addColumn(double cost, const std::vector<std::pair<int, double>>& entries,
                           double lower, double upper) {
    std::vector<int> rows;
    std::vector<double> values;
    for (const auto& [row, value] : entries) {
        rows.push_back(row);
        values.push_back(value);
    }
    model_->addColumn(static_cast<int>(rows.size()), rows.data(), values.data(), lower, upper,
                      cost);
    solved_ = false;
    return model_->numberColumns() - 1;
}

bool ClpLpSolver::solve() {
    model_->primal();
    solved_ = model_->isProvenOptimal();
    return solved_;
}

int ClpLpSolver::rows() const {
    return model_->numberRows();
}

int ClpLpSolver::columns() const {
    return model_->numberColumns();
}

double ClpLpSolver::objective() const {
    return solved_ ? model_->objectiveValue() : 0.0;
}

std::vector<double> ClpLpSolver::primal() const {
    const double* x = model_->primalColumnSolution();
    if (!solved_ || x == nullptr)
        return std::vector<double>(static_cast<size_t>(model_->numberColumns()), 0.0);
    return {x, x + model_->numberColumns()};
}

std::vector<double> ClpLpSolver::duals() const {
    const double* y = model_->dualRowSolution();
    if (!solved_ || y == nullptr)
        return std::vector<double>(static_cast<size_t>(model_->numberRows()), 0.0);
    return {y, y + model_->numberRows()};
}
