<?php
return [
    'host' => 'db',
    'password' => '2k1tBljWgsxafV',
];
