// The first 16 lines of the report of the worked example (N = 5, Re = 10,
// beta = 0.5, itmax = 100), Windows-1252 bytes: the title, the input data,
// the coefficient header and the row of volume 1, the same in every such run.
#pragma once
#include <string>
#include <vector>

inline const std::vector<std::string> kWorkedExampleStart = {
    "Solu\xE7\xE3o Num\xE9rica do Escoamento Unidimensional em Regime Permanente:",
    "Equa\xE7\xE3o de Burgers",
    "",
    "Dados de entrada",
    "",
    "                 5  = N:      n\xFAmero de volumes de controle (reais + dois fict\xED"
    "cios)",
    "  1.0000000000E+01  = Re:     n\xFAmero de Reynolds",
    "  5.0000000000E-01  = beta :  coeficiente do termo difusivo (fun\xE7\xF5"
    "es de interpola\xE7\xE3o):  0.0 = UDS; 1.0 = CDS",
    "",
    "               100  = itmax:  n\xFAmero m\xE1ximo de itera\xE7\xF5"
    "es",
    "",
    "",
    "Coeficientes e termos-fontes",
    "",
    "  Volume i    aw(i)                    ae(i)                    ap(i)                    bp(i)",
    "         1    0.000000000000000E+00   -1.000000000000000E+00    1.000000000000000E+00    "
    "0.000000000000000E+00",
};
