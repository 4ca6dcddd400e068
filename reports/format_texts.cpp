#include "reports/format_texts.h"

// Accented letters are escapes of their Windows-1252 bytes; a literal is split
// where the next letter would otherwise extend the escape ("m\xE9" "dia").
namespace format_text {

const Format kHistoryRecord{"(I9,1P,E25.15)"};

const Format kTitle{
    "('Solu\xE7\xE3o Num\xE9rica do Escoamento Unidimensional em Regime Permanente:',/,"
    "'Equa\xE7\xE3o de Burgers',2/,'Dados de entrada')"};
const Format kN{
    "(/,T10,I9,T20,' = N:      n\xFAmero de volumes de controle (reais + dois fict\xED"
    "cios)')"};
const Format kRe{"(1P,E18.10,T20,' = Re:     n\xFAmero de Reynolds')"};
const Format kBeta{
    "(1P,E18.10,T20,' = beta :  coeficiente do termo difusivo (fun\xE7\xF5"
    "es de interpola\xE7\xE3o):  0.0 = UDS; 1.0 = CDS')"};
const Format kItmax{
    "(/,T10,I9,T20,' = itmax:  n\xFAmero m\xE1ximo de itera\xE7\xF5"
    "es')"};
const Format kCoefficientHeader{
    "(2/,'Coeficientes e termos-fontes',2/,T3,'Volume i',T15,'aw(i)',T40,'ae(i)',T65,'ap(i)',"
    "T90,'bp(i)')"};
const Format kCoefficientRow{"(I10,4(1P,E25.15))"};
const Format kSolutionHeader{
    "(2/,'Solu\xE7\xF5"
    "es num\xE9ricas',2/,T5,'Volume',T16,'Posi\xE7\xE3o [m]',T35,'Vel. num\xE9rica [m/s]',"
    "T60,'Vel. anal\xEDtica [m/s]',T85,'Erro num\xE9rico [m/s]')"};
const Format kSolutionRow{"(I10,1P,E20.9,3(1P,E25.15))"};
const Format kMeanNumerical{
    "(2/,'Velocidade m\xE9"
    "dia num\xE9rica  [m/s]:      ',1P,E25.15)"};
const Format kMeanAnalytic{
    "('Velocidade m\xE9"
    "dia anal\xEDtica [m/s]:      ',1P,E25.15)"};
const Format kMeanError{
    "('Erro num\xE9rico para a velocidade m\xE9"
    "dia: ',1P,E25.15)"};
const Format kL1{"(2/,'Norma L1:     ',1P,E25.15)"};
const Format kL1PerVolume{"('Norma L1 / N: ',1P,E25.15)"};

const Format kProfileRow{"(1P,E20.9,2(1P,E25.15))"};

}  // namespace format_text
