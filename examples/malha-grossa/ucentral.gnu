# Convergence history: change of the central velocity per iteration.
# Writes ucentral.png next to ucentral.dat; also opens a window when a
# display and an interactive terminal are available.
set title "Convergência: variação da velocidade no volume central"
set xlabel "iteração"
set ylabel "|Δu| no volume central [m/s]"
set logscale y
set format y "10^{%L}"
set grid
set key off
plotar = "plot 'ucentral.dat' using 1:($2 > 0 ? $2 : NaN) with linespoints pt 7 ps 0.5 lc rgb '#1f5fa8'"
set terminal pngcairo size 900,600 enhanced font ",11"
set output "ucentral.png"
eval plotar
set output
if (strlen(GPVAL_TERMINALS) > 0 && strstrt(GPVAL_TERMINALS, "qt") > 0 && strlen(system("printf %s \"$DISPLAY\"")) > 0) {
  set terminal qt
  eval plotar
  pause mouse close
}
