<?php
// Writes haval_php_cases.txt: HAVAL-256/5 digests computed by PHP's hash extension over
// pseudo-random messages of pseudo-random lengths (fixed seed, so the file is reproducible).
// Run from this folder: php make_haval_cases.php > haval_php_cases.txt
mt_srand(20261211);
echo "# HAVAL-256/5 by PHP ", PHP_VERSION, " over messages from make_haval_cases.php (ALG|KEYHEX|INPUTHEX|DIGEST)\n";
// Lengths around the block and padding boundaries first, then random ones.
$lengths = [117, 118, 119, 127, 128, 129, 245, 246, 255, 256, 257];
for ($i = 0; $i < 60; $i++) {
    $lengths[] = mt_rand(0, 1500);
}
foreach ($lengths as $n) {
    $message = '';
    for ($j = 0; $j < $n; $j++) {
        $message .= chr(mt_rand(0, 255));
    }
    echo "haval||", bin2hex($message), "|", hash('haval256,5', $message), "\n";
}
