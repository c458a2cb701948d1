#pragma once

#include "plan/LpSolver.h"

#include <memory>

class ClpSimplex;

// LpSolver on COIN-OR CLP: primal simplex, warm started from the previous basis after columns
// are added or row bounds change.
class ClpLpSolver : public LpSolver {
public:
    ClpLpSolver();
    ~ClpLpSolver() override;
    ClpLpSolver(const ClpLpSolver&) = delete;
    ClpLpSolver& operator=(const ClpLpSolver&) = delete;

    int addRow(double lower, double upper) override;
    void setRowBounds(int row, double lower, double upper) override;
    int addColumn(double cost, const std::vector<std::pair<int, double>>& entries, double lower,
                  double upper) override;
    bool solve() override;

    int rows() const override;
    int columns() const override;
    double objective() const override;
    std::vector<double> primal() const override;
    std::vector<double> duals() const override;

private:
    std::unique_ptr<ClpSimplex> model_;
    bool solved_ = false;
};
