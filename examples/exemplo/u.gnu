# Numerical and analytic velocity against position, from u.dat.
# Writes u.png next to u.dat; also opens a window when a display and an
# interactive terminal are available.
set title "Velocidade: solução numérica e analítica"
set xlabel "x [m]"
set ylabel "u [m/s]"
set grid
set key top left
plotar = "plot 'u.dat' using 1:3 with lines lw 2 lc rgb '#888888' title 'analítica', '' using 1:2 with points pt 7 ps 0.8 lc rgb '#c0392b' title 'numérica'"
set terminal pngcairo size 900,600 enhanced font ",11"
set output "u.png"
eval plotar
set output
if (strlen(GPVAL_TERMINALS) > 0 && strstrt(GPVAL_TERMINALS, "qt") > 0 && strlen(system("printf %s \"$DISPLAY\"")) > 0) {
  set terminal qt
  eval plotar
  pause mouse close
}
