# Numerical and analytic velocity against position, from u.dat. Writes u.png
# next to u.dat; also opens a window when a display is there and someone is at
# the terminal (on Windows, always), and waits until the window is closed.
set encoding utf8
tela = GPVAL_TERM

# Reals with a three-digit exponent are written without the letter E
# ("1.000000000000000-120"); gnuplot would read them as 1.0.
num(s) = strstrt(s, "E") > 0 ? real(s) : real(s[1:strlen(s)-4] . "E" . s[strlen(s)-3:strlen(s)])

# The exact solution is drawn as a smooth curve, with Re taken from the report
# (the Re line, the second line of the parameters' block); when that cannot be
# read, the curve joins the analytic values of u.dat.
stats 'saida.txt' index 0 every ::1:2:1:2 using (num(strcol(1))) name "RE" nooutput
# Written with exp(Re·(x - 1)) so that large Re does not overflow.
ua(x, Re) = Re == 0 ? x : Re > 0 ? (exp(Re * (x - 1)) - exp(-Re)) / (1 - exp(-Re)) \
                                 : (exp(Re * x) - 1) / (exp(Re) - 1)

set title "Velocidade: solução numérica e analítica"
set xlabel "x [m]"
set ylabel "u [m/s]"
set grid
set key top left opaque box
set xrange [0:1]
set samples 1000
numerica = "'u.dat' using (num(strcol(1))):(num(strcol(2))) with points pt 7 ps 0.8 lc rgb '#c0392b' title 'numérica'"
if (exists("RE_records") && RE_records == 1) {
  analitica = sprintf("ua(x, %.17g) with lines lw 2 lc rgb '#888888' title sprintf('analítica (Re = %%g)', %.17g)", RE_max, RE_max)
} else {
  analitica = "'u.dat' using (num(strcol(1))):(num(strcol(3))) with lines lw 2 lc rgb '#888888' title 'analítica'"
}
plotar = "plot " . analitica . ", " . numerica

set terminal pngcairo size 900,600 enhanced font ",11"
set output "u.png"
eval plotar
set output

janela = 0
if (tela eq "windows") { janela = 1 }
if (tela eq "qt" || tela eq "wxt" || tela eq "x11") {
  janela = system("[ -t 0 ] && [ -n \"$DISPLAY$WAYLAND_DISPLAY\" ] && echo 1") eq "1"
}
if (tela eq "aqua") { janela = system("[ -t 0 ] && echo 1") eq "1" }
if (janela) {
  eval "set terminal " . tela
  eval plotar
  pause mouse close
}
