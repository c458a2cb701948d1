#pragma once

#include <memory>
#include <utility>
#include <vector>

// A linear programme minimised over columns with bounds, rows with bounds. Rows are added first
// (empty), columns then carry their entries. After solve() the primal values, the row duals
// (reduced cost of a column = cost - sum of entry × dual) and the objective are available.
class LpSolver {
public:
    static constexpr double kInfinity = 1e30;

    virtual ~LpSolver() = default;

    virtual int addRow(double lower, double upper) = 0;
    virtual void setRowBounds(int row, double lower, double upper) = 0;
    virtual int addColumn(double cost, const std::vector<std::pair<int, double>>& entries,
                          double lower = 0.0, double upper = kInfinity) = 0;
    // True when an optimum was found (false: infeasible, unbounded or failed).
    virtual bool solve() = 0;

    virtual int rows() const = 0;
    virtual int columns() const = 0;
    virtual double objective() const = 0;
    virtual std::vector<double> primal() const = 0;
    virtual std::vector<double> duals() const = 0;
};

// The solver this program is built with.
std::unique_ptr<LpSolver> makeLpSolver();
